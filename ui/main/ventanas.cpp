#include "ui/main/ventanas.h"

#include "sysinfo/lanzador.h"
#include "sysinfo/plataforma_sistema.h"
#include "ui/comun/texto_qt.h"

namespace zelk::ui {

Ventanas::Ventanas(ConfiguracionRegional regional, Avisador& avisador)
    : avisador_(avisador),
      inicio_(new FrmInicio(std::move(regional), avisador)),
      lanzador_([this] { LanzarInformacionSistema(); }) {
  connect(inicio_, &FrmInicio::acercaDePedido, this, &Ventanas::AbrirAcerca);
}

Ventanas::~Ventanas() {
  delete inicio_;
  delete acerca_;
}

void Ventanas::MostrarInicio() {
  if (inicio_)
    inicio_->show();
}

void Ventanas::AbrirAcerca() {
  if (!acerca_)
    acerca_ = new FrmAbout([this] { lanzador_(); });
  // A minimised window comes back too: opening it must leave it where the user sees it.
  acerca_->setWindowState(acerca_->windowState() & ~Qt::WindowMinimized);
  acerca_->show();
  acerca_->raise();
  acerca_->activateWindow();
}

void Ventanas::LanzarInformacionSistema() {
  const auto plataforma =
      sysinfo::PlataformaDelSistema([this](std::string_view texto) { avisador_.Avisar(Q(texto)); });
  sysinfo::StartSysInfo(*plataforma);
}

}  // namespace zelk::ui
