// zelk: the main window, calculated at start-up, under the user's regional settings.
#include <QApplication>
#include <optional>

#include "apps/zelk/vigia_pantalla.h"
#include "ui/comun/avisador.h"
#include "ui/comun/plataforma.h"
#include "ui/main/aplicacion.h"

int main(int argc, char** argv) {
  zelk::ui::PrepararPlataforma();
  std::optional<VigiaDePantalla> vigia(std::in_place);
  QApplication aplicacion(argc, argv);
  vigia.reset();
  zelk::ui::AvisadorCaja avisador;
  const auto ventanas = zelk::ui::IniciarPrograma(avisador);
  return QApplication::exec();
}
