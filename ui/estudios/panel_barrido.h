// The sweep of a study: the datum swept, its range and points, a second datum for a family of
// curves, the results drawn; the plot and the table of every point. The sweep is computed in the
// background on every core whenever the case or the settings change, a newer one replacing one
// still running.
#pragma once

#include <QWidget>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <variant>
#include <vector>

#include "lote/barrido_memoria.h"
#include "lote/estudio.h"

class QCheckBox;
class QComboBox;
class QElapsedTimer;
class QLabel;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTableView;
class QTimer;

namespace zelk::ui::estudios {

class CampoConMotivo;
class GraficoBarrido;
class ModeloBarrido;

// The sweeps and the texts they start from, as the study defines them.
struct DefinicionBarrido {
  std::vector<lotes::Barrido> barridos;
  lotes::Base base;
};

// The study's sweeps; why not, naming the setting, when its settings do not make one.
std::variant<DefinicionBarrido, std::string> DefinirBarrido(const lotes::Estudio& e,
                                                            const ConfiguracionRegional& r);

class PanelBarrido final : public QWidget {
  Q_OBJECT

 public:
  explicit PanelBarrido(ConfiguracionRegional regional, QWidget* padre = nullptr);
  ~PanelBarrido() override;

  // The study's sweep settings into the controls, without telling of a change.
  void Poner(const lotes::Estudio& e);
  // The controls' settings into the study.
  void Leer(lotes::Estudio& e) const;
  // The study changed (its case or its settings): the sweep is computed again in a moment.
  void Actualizar(const lotes::Estudio& e);
  // The sweep computed now.
  void Calcular();

  GraficoBarrido* Grafico() const { return grafico_; }
  QTableView* Tabla() const { return tabla_; }
  ModeloBarrido* Modelo() const { return modelo_; }
  QLabel* Estado() const { return estado_; }
  QComboBox* Dato(std::size_t eje) const { return datos_[eje]; }
  CampoConMotivo* Desde(std::size_t eje) const { return desde_[eje]; }
  CampoConMotivo* Hasta(std::size_t eje) const { return hasta_[eje]; }
  QSpinBox* Puntos(std::size_t eje) const { return puntos_[eje]; }
  QCheckBox* Familia() const { return familia_; }
  QCheckBox* Dibujado(std::size_t resultado) const { return dibujados_[resultado]; }
  QSplitter* Division() const { return division_; }
  QSplitter* Lados() const { return lados_; }
  bool Calculando() const { return calculando_; }
  std::shared_ptr<const lotes::BarridoEnMemoria> Barrido() const;

 signals:
  // The user changed a setting.
  void cambiado();
  // A sweep, or why there is none, is shown.
  void barridoMostrado();

 private:
  using Resultado = std::variant<lotes::BarridoEnMemoria, std::string>;
  void Tocado();
  // The computation numbered `vez` has ended with `r`; only the latest is shown.
  void Terminado(unsigned vez, std::shared_ptr<Resultado> r);
  // Stops the computation running, if any, and waits the moment it takes to stop.
  void Parar();
  void MostrarMotivos(const lotes::Estudio& e);

  ConfiguracionRegional regional_;
  lotes::Estudio estudio_;
  std::array<QComboBox*, 2> datos_{};
  std::array<CampoConMotivo*, 2> desde_{}, hasta_{};
  std::array<QSpinBox*, 2> puntos_{};
  QCheckBox* familia_ = nullptr;
  std::array<QCheckBox*, kNumResultados> dibujados_{};
  QPushButton* calcular_ = nullptr;
  QLabel* estado_ = nullptr;
  GraficoBarrido* grafico_ = nullptr;
  QTableView* tabla_ = nullptr;
  ModeloBarrido* modelo_ = nullptr;
  QSplitter* division_ = nullptr;  // the plot over the table
  QSplitter* lados_ = nullptr;     // the settings beside both
  QTimer* espera_ = nullptr;
  // One computation at a time, on a thread of its own that uses every core.
  std::thread hilo_;
  std::atomic<bool> parar_{false};
  unsigned vez_ = 0;
  std::unique_ptr<QElapsedTimer> reloj_;
  bool calculando_ = false;
  bool poniendo_ = false;
};

}  // namespace zelk::ui::estudios
