// zelk's start-up as the program runs it, ending as soon as the main window has been shown and
// calculated: one side of the start-up benchmark.
#include <QApplication>
#include <QTimer>

#include "ui/comun/avisador.h"
#include "ui/comun/plataforma.h"
#include "ui/main/aplicacion.h"

int main(int argc, char** argv) {
  zelk::ui::PrepararPlataforma();
  QApplication aplicacion(argc, argv);
  zelk::ui::AvisadorCaja avisador;
  const auto ventanas = zelk::ui::IniciarPrograma(avisador);
  QTimer::singleShot(0, &aplicacion, &QCoreApplication::quit);
  return QApplication::exec();
}
