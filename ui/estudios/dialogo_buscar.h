// "Buscar…": a result, the value it should take, the datum to vary and its range; the values found
// listed, and the one chosen put into the case with a click. It stays open beside the window, so
// that the case is seen to change.
#pragma once

#include <QDialog>
#include <optional>

#include "lote/busqueda_estudio.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zelk::ui::estudios {

class CampoConMotivo;

class DialogoBuscar final : public QDialog {
  Q_OBJECT

 public:
  DialogoBuscar(ConfiguracionRegional regional, QWidget* padre = nullptr);

  // The study's search settings into the controls; `conControl` offers the control's data and
  // chosen values.
  void Poner(const lotes::Estudio& e);
  // The controls' settings into the study.
  void Leer(lotes::Estudio& e) const;
  // Searches over `e` and lists what it finds.
  void Buscar(const lotes::Estudio& e);

  QComboBox* Resultado() const { return resultado_; }
  CampoConMotivo* Valor() const { return valor_; }
  QComboBox* Dato() const { return dato_; }
  CampoConMotivo* Desde() const { return desde_; }
  CampoConMotivo* Hasta() const { return hasta_; }
  QListWidget* Hallados() const { return hallados_; }
  QLabel* Notas() const { return notas_; }
  QPushButton* BotonBuscar() const { return buscar_; }
  QPushButton* BotonLlevar() const { return llevar_; }

 signals:
  // The user asked for a search; the window answers with Buscar.
  void buscarPedido();
  // The user changed a setting.
  void cambiado();
  // "Llevar al caso": the value `x` of the datum `v`.
  void valorElegido(zelk::Variable v, double x);

 private:
  void Llenar(bool conControl);
  void Llevar();

  ConfiguracionRegional regional_;
  QComboBox* resultado_;
  CampoConMotivo* valor_;
  QComboBox* dato_;
  CampoConMotivo* desde_;
  CampoConMotivo* hasta_;
  QPushButton* buscar_;
  QListWidget* hallados_;
  QLabel* notas_;
  QPushButton* llevar_;
  std::optional<lotes::BusquedaHecha> hecha_;
  bool conControl_ = false;
  bool poniendo_ = false;
};

}  // namespace zelk::ui::estudios
