// The program's two windows, each held by one shared reference and made on first use. The
// program runs as long as one of them is open.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "engine/texto_numero.h"
#include "ui/about/frm_about.h"
#include "ui/comun/avisador.h"
#include "ui/main/frm_inicio.h"

namespace zelk::ui {

class Ventanas : public QObject {
  Q_OBJECT

 public:
  // Loads the main window, which runs its start-up; `avisador` must outlive both windows.
  Ventanas(ConfiguracionRegional regional, Avisador& avisador);
  ~Ventanas() override;

  void MostrarInicio();
  // "Acerca De...": opens the About window modeless and without owner, or brings the open one to
  // the front, restored if it was minimised, and activates it.
  void AbrirAcerca();

  // Null once the window has been closed.
  FrmInicio* Inicio() const { return inicio_; }
  FrmAbout* Acerca() const { return acerca_; }

  // What "System Info..." runs; by default the system's launcher.
  void PonerLanzador(std::function<void()> lanzador) { lanzador_ = std::move(lanzador); }

 private:
  void LanzarInformacionSistema();

  Avisador& avisador_;
  QPointer<FrmInicio> inicio_;
  QPointer<FrmAbout> acerca_;
  std::function<void()> lanzador_;
};

}  // namespace zelk::ui
