// The plot of a sweep: one panel per unit, stacked over one axis of the swept datum, each with its
// legend; a family of curves when a second datum is swept; gaps where a result is "ERROR". Wheel
// zooms, dragging pans, the value of every curve under the pointer is read out, and what is drawn
// is thinned to the visible pixel columns again at every zoom, from all the points kept.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "lote/barrido_memoria.h"

class QCustomPlot;
class QCPAxisRect;
class QCPGraph;
class QCPLegend;
class QCPItemStraightLine;
class QLabel;
class QMouseEvent;

namespace zelk::ui::estudios {

enum class FormatoImagen { Png, Pdf, Svg };
// Whether this build writes SVG: Windows' Qt has no Qt Svg.
bool HaySvg();

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
  // The curves drawn: which result, for which value of the family's datum.
  struct Serie {
    QCPGraph* grafico;
    std::size_t resultado, miembro;
  };
  const std::vector<Serie>& Series() const { return series_; }

  // The values at the point nearest `x` in the panel under `pos` (widget coordinates of the
  // canvas), as the pointer reads them out; empty when the pointer is over no panel.
  QString LeerEn(const QPointF& pos);

  // The picture of `ancho` by `alto` pixels as the bytes of a file.
  QByteArray Imagen(FormatoImagen formato, int ancho, int alto);

 protected:
  void changeEvent(QEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;

 private:
  void Reducir();
  void Tema();
  void Movido(QMouseEvent* evento);
  QString Panel(std::size_t resultado) const;

  ConfiguracionRegional regional_;
  QCustomPlot* lienzo_;
  QLabel* lectura_;
  std::shared_ptr<const lotes::BarridoEnMemoria> barrido_;
  std::vector<std::size_t> resultados_;
  std::vector<QCPAxisRect*> paneles_;
  std::vector<QCPLegend*> leyendas_;
  std::vector<QCPItemStraightLine*> lineas_;
  std::vector<Serie> series_;
  bool reduccionPendiente_ = false;
  bool propagando_ = false;
};

}  // namespace zelk::ui::estudios
