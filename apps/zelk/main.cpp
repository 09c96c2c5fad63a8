// zelk: the main window, calculated at start-up, under the user's regional settings.
#include <QApplication>

#include "ui/comun/avisador.h"
#include "ui/main/aplicacion.h"

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  zelk::ui::AvisadorCaja avisador;
  const auto ventanas = zelk::ui::IniciarPrograma(avisador);
  return QApplication::exec();
}
