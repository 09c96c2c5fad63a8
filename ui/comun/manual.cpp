#include "ui/comun/manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zelk::ui {

QString ManualInstalado(const QString& carpetaPrograma) {
  return QDir::cleanPath(QDir(carpetaPrograma).filePath(QStringLiteral(ZELK_MANUAL_INSTALADO)));
}

QString BuscarManual(const QString& carpetaPrograma, const QString& deLaConstruccion) {
  for (const QString& ruta : {ManualInstalado(carpetaPrograma), deLaConstruccion})
    if (!ruta.isEmpty() && QFileInfo(ruta).isFile())
      return ruta;
  return {};
}

QString RutaDelManual() {
  return BuscarManual(QCoreApplication::applicationDirPath(),
                      QStringLiteral(ZELK_MANUAL_CONSTRUCCION));
}

}  // namespace zelk::ui
