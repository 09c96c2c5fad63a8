#include <QByteArray>
#include <QtGlobal>

#include "ui/comun/plataforma.h"

namespace zelk::ui {

void PrepararPlataforma() {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}

}  // namespace zelk::ui
