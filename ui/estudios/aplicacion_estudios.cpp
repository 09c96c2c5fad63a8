#include "ui/estudios/aplicacion_estudios.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "regional/regional_qt.h"
#include "ui/comun/texto_qt.h"
#include "ui/comun/traducciones.h"
#include "ui/estudios/dialogos.h"
#include "ui/estudios/textos_estudios.h"
#include "ui/estudios/ventana_estudios.h"

namespace zelk::ui::estudios {

namespace {

constexpr std::string_view kAyuda =
    "uso: zelk-estudios [ARCHIVO]\n"
    "\n"
    "Estudios de un enlace HVDC monopolar en una ventana: el caso con sus resultados mientras se\n"
    "escribe, barridos con gráficos y tablas, la búsqueda de un dato y los casos PSS/E.\n"
    "ARCHIVO es un estudio (.zelk) o un caso PSS/E (.raw, versiones 33 a 35).\n"
    "\n"
    "  --help     muestra esta ayuda\n"
    "  --version  muestra la versión\n";

}  // namespace

QIcon IconoEstudios() {
  static const QIcon icono = [] {
    QIcon i;
    for (int lado : {16, 32, 64})
      i.addFile(QStringLiteral(":/zelk-estudios/icono-%1.png").arg(lado), QSize(lado, lado));
    return i;
  }();
  return icono;
}

std::optional<int> OpcionesSinVentana(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s %s\n", std::string(kEjecutable).c_str(), ZELK_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fwrite(kAyuda.data(), 1, kAyuda.size(), stdout);
      return 0;
    }
  }
  return std::nullopt;
}

void PrepararEstudios() {
  QApplication::setOrganizationName(QStringLiteral("zelk"));
  QApplication::setApplicationName(Q(kEjecutable));
  QApplication::setApplicationDisplayName(Q(kNombrePrograma));
  QApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(ZELK_ID_ESTUDIOS));
  CargarTraduccionesDeQt();
  QApplication::setWindowIcon(IconoEstudios());
}

std::unique_ptr<VentanaEstudios> IniciarEstudios(Dialogos& dialogos, const QStringList& archivos) {
  PrepararEstudios();
  auto ventana = std::make_unique<VentanaEstudios>(RegionalDelSistema(), dialogos);
  ventana->show();
  if (!archivos.isEmpty())
    ventana->AbrirArchivo(archivos.front());
  return ventana;
}

}  // namespace zelk::ui::estudios
