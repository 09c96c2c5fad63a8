// zelk Estudios' start-up as the program runs it, ending as soon as its window has been shown with
// the case calculated: one side of its start-up benchmark.
#include <QApplication>
#include <QTimer>

#include "ui/comun/plataforma.h"
#include "ui/estudios/aplicacion_estudios.h"
#include "ui/estudios/dialogos.h"
#include "ui/estudios/ventana_estudios.h"

int main(int argc, char** argv) {
  zelk::ui::PrepararPlataforma();
  QApplication aplicacion(argc, argv);
  zelk::ui::estudios::DialogosQt dialogos;
  const auto ventana = zelk::ui::estudios::IniciarEstudios(dialogos, {});
  QTimer::singleShot(0, &aplicacion, &QCoreApplication::quit);
  return QApplication::exec();
}
