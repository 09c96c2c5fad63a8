// zelk's start-up as the program runs it, ending as soon as the main window has been shown and
// calculated: one side of the start-up benchmark.
#include <QApplication>
#include <QTimer>

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
  QTimer::singleShot(0, &aplicacion, &QCoreApplication::quit);
  return QApplication::exec();
}
