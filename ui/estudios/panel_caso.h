// The case: the 18 data in the calculator's three groups and the control data in a group of their
// own that can be switched off. Every field says beside it why its text cannot be taken; none is
// ever reset.
#pragma once

#include <QWidget>
#include <array>

#include "engine/control.h"
#include "engine/enlace.h"
#include "lote/caso_estudio.h"
#include "lote/estudio.h"

class QComboBox;
class QGroupBox;
class QLabel;

namespace zelk::ui::estudios {

class CampoConMotivo;

class PanelCaso final : public QWidget {
  Q_OBJECT

 public:
  explicit PanelCaso(QWidget* padre = nullptr);

  // The study's case into the fields, without telling of a change.
  void Poner(const lotes::Estudio& e);
  // The fields' case into the study.
  void Leer(lotes::Estudio& e) const;
  // Each field's reason, and which fields are used.
  void Mostrar(const lotes::Estudio& e, const lotes::EvaluacionCaso& ev);

  CampoConMotivo* Campo(std::size_t parametro) const { return campos_[parametro]; }
  // The field of a numeric control datum; null for `orden`.
  CampoConMotivo* CampoControl(std::size_t dato) const { return camposControl_[dato]; }
  QComboBox* Orden() const { return orden_; }
  QGroupBox* GrupoControl() const { return grupoControl_; }
  QLabel* MotivoOrden() const { return motivoOrden_; }

 signals:
  void cambiado();

 private:
  std::array<CampoConMotivo*, kNumParametros> campos_{};
  std::array<CampoConMotivo*, kNumControl> camposControl_{};
  QComboBox* orden_ = nullptr;
  QLabel* motivoOrden_ = nullptr;
  QGroupBox* grupoControl_ = nullptr;
  bool poniendo_ = false;
};

}  // namespace zelk::ui::estudios
