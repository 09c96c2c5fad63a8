// zelk Estudios: the window of the link's studies, with the study or PSS/E case it is given.
#include <QApplication>
#include <optional>

#include "apps/zelk/vigia_pantalla.h"
#include "ui/comun/plataforma.h"
#include "ui/estudios/aplicacion_estudios.h"
#include "ui/estudios/dialogos.h"
#include "ui/estudios/ventana_estudios.h"

int main(int argc, char** argv) {
  if (const auto estado = zelk::ui::estudios::OpcionesSinVentana(argc, argv))
    return *estado;
  zelk::ui::PrepararPlataforma();
  std::optional<VigiaDePantalla> vigia(std::in_place);
  QApplication aplicacion(argc, argv);
  vigia.reset();
  zelk::ui::estudios::DialogosQt dialogos;
  const auto ventana =
      zelk::ui::estudios::IniciarEstudios(dialogos, QApplication::arguments().mid(1));
  return QApplication::exec();
}
