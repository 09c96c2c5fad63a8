// The case's results as the user types: the 13 of the pass grouped by converter end and, under
// control data, the mode, the point the controls chose and their warnings. When the data cannot
// be taken, why, and no figure.
#pragma once

#include <QWidget>
#include <array>

#include "engine/control.h"
#include "engine/enlace.h"
#include "lote/caso_estudio.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace zelk::ui::estudios {

class CampoConMotivo;

class PanelResultados final : public QWidget {
 public:
  explicit PanelResultados(QWidget* padre = nullptr);

  void Mostrar(const lotes::EvaluacionCaso& ev, const ConfiguracionRegional& r);

  CampoConMotivo* Resultado(std::size_t i) const { return resultados_[i]; }
  QLineEdit* Modo() const { return modo_; }
  QLineEdit* Elegido(std::size_t i) const { return elegidos_[i]; }
  QLabel* Avisos() const { return avisos_; }
  // Why there are no results; hidden when there are.
  QLabel* Motivo() const { return motivo_; }

 private:
  std::array<CampoConMotivo*, kNumResultados> resultados_{};
  std::array<QLineEdit*, kElegidos.size()> elegidos_{};
  QLineEdit* modo_ = nullptr;
  QLabel* avisos_ = nullptr;
  QLabel* motivo_ = nullptr;
  QGroupBox* control_ = nullptr;
};

}  // namespace zelk::ui::estudios
