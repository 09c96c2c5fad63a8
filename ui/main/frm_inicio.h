// The main window: three frames of inputs, the results around the link's schematic, three buttons
// and the menu "Archivo". Its controls stay where they are placed; only the field texts change.
#pragma once

#include <QMainWindow>

#include "engine/pasada.h"
#include "ui/comun/avisador.h"
#include "ui/main/formulario_ventana.h"

class QLabel;
class QPushButton;

namespace zelk::ui {

class FrmInicio : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window and runs the start-up, so that it is calculated before it is first shown.
  // Messages of the checks go to `avisador`, which must outlive the window.
  FrmInicio(ConfiguracionRegional regional, Avisador& avisador, QWidget* padre = nullptr);

  QLineEdit* CampoTexto(Campo campo) const { return campos_[Indice(campo)]; }
  const Calculadora& Calculo() const { return calculadora_; }

  // The button actions, also reached through the menu.
  void Calcular();
  void ValoresDefault();
  void Salir();

 signals:
  // "Acerca De..." was chosen; whoever keeps the windows opens the About window.
  void acercaDePedido();

 protected:
  // On the first show the client area is made exactly 657 by 519, whatever height the menu bar
  // took on this desktop.
  void showEvent(QShowEvent* evento) override;
  bool event(QEvent* evento) override;

 private:
  void ConstruirMarcos(QWidget* cliente);
  void ConstruirResultados(QWidget* cliente);
  QPushButton* ConstruirBoton(QWidget* cliente, std::size_t i);
  void ConstruirMenu();
  void OrdenarFoco();
  // The font of the desktop, made smaller where the window's rows and captions need it, and the
  // results' captions as wide as their text.
  void AjustarFuente();

  FormularioVentana::Campos campos_{};
  std::array<QLabel*, kNumResultados> etiquetasResultado_{};
  FormularioVentana formulario_;
  Calculadora calculadora_;
  bool medida_ = false;
};

}  // namespace zelk::ui
