// Qt's own texts in Spanish for every window of zelk's programs.
#include "ui/comun/traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zelk::ui {

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

}  // namespace zelk::ui
