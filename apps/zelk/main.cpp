// zelk: the main window, calculated at start-up, under the user's regional settings.
#include <QApplication>

#include "regional/regional_qt.h"
#include "ui/comun/avisador.h"
#include "ui/main/aplicacion.h"
#include "ui/main/ventanas.h"

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  zelk::ui::PrepararAplicacion();
  zelk::ui::AvisadorCaja avisador;
  zelk::ui::Ventanas ventanas(zelk::RegionalDelSistema(), avisador);
  ventanas.MostrarInicio();
  return QApplication::exec();
}
