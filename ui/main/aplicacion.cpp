#include "ui/main/aplicacion.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "regional/regional_qt.h"
#include "ui/comun/dibujos.h"
#include "ui/comun/texto_qt.h"

namespace zelk::ui {

namespace {

// Qt's own texts (the fields' context menu, the message box's button) in Spanish, as every text of
// the program is, whatever the user's locale. Looked for where Qt keeps its translations, then
// beside the program, where a program folder carries them; without them Qt's texts stay English.
void CargarTraduccionesDeQt() {
  static bool cargadas = false;
  if (cargadas)
    return;
  cargadas = true;
  auto* traductor = new QTranslator(QCoreApplication::instance());
  for (const QString& carpeta :
       {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
    if (traductor->load(QStringLiteral("qtbase_es"), carpeta)) {
      QCoreApplication::installTranslator(traductor);
      return;
    }
  }
  delete traductor;
}

}  // namespace

void PrepararAplicacion() {
  QApplication::setApplicationName(Q(kTituloAplicacion));
  QGuiApplication::setDesktopFileName(QStringLiteral(ZELK_ID));
  CargarTraduccionesDeQt();
  QApplication::setWindowIcon(IconoAplicacion());
}

std::unique_ptr<Ventanas> IniciarPrograma(Avisador& avisador) {
  PrepararAplicacion();
  auto ventanas = std::make_unique<Ventanas>(RegionalDelSistema(), avisador);
  ventanas->MostrarInicio();
  return ventanas;
}

}  // namespace zelk::ui
