// The plot of a sweep in the window, laid out by the plot library (grafico/): a panel per kind of
// result over one axis of the swept datum, a family of curves for a second datum, gaps where a
// result is "ERROR". The window adds the hand's part: the wheel zooms, dragging pans, the value
// under the pointer is read out, and at every zoom the curves are thinned again to the visible
// pixel columns from all the points kept.
#pragma once

#include <QByteArray>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lote/barrido_memoria.h"

class QCustomPlot;
class QLabel;
class QMouseEvent;
class QTimer;

namespace zelk::ui::estudios {

// Whether this build writes the plot in `formato` (SVG needs Qt Svg, which Windows' Qt lacks).
bool EscribeFormato(lotes::FormatoGrafico formato);

class GraficoBarrido final : public QWidget {
  Q_OBJECT

 public:
  explicit GraficoBarrido(ConfiguracionRegional regional, QWidget* padre = nullptr);

  // Draws the results `resultados` (indices into kResultados) of the sweep, all of it in view.
  void Mostrar(std::shared_ptr<const lotes::BarridoEnMemoria> barrido,
               std::vector<std::size_t> resultados);
  // The whole sweep in view again.
  void Encuadrar();

  QCustomPlot* Lienzo() const { return lienzo_; }
  QLabel* Lectura() const { return lectura_; }

  // The value of the curve nearest `pos` (the canvas's coordinates), as the pointer reads it out;
  // empty where no curve is near.
  QString LeerEn(const QPointF& pos);

  // The picture of `ancho` by `alto` pixels as the bytes of a file; why not.
  std::optional<std::string> Imagen(lotes::FormatoGrafico formato, int ancho, int alto,
                                    QByteArray& bytes);

 protected:
  void resizeEvent(QResizeEvent* evento) override;

 private:
  // The curves of the visible stretch laid out again, each panel's value axis kept as it was.
  void Reducir();
  void Dibujar(double xMin, double xMax);
  void Movido(QMouseEvent* evento);

  ConfiguracionRegional regional_;
  QCustomPlot* lienzo_;
  QLabel* lectura_;
  QTimer* espera_;
  std::shared_ptr<const lotes::BarridoEnMemoria> barrido_;
  std::vector<std::size_t> resultados_;
  bool dibujando_ = false;
};

}  // namespace zelk::ui::estudios
