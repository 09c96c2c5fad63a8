#include "ui/comun/avisador.h"

#include <QMessageBox>

#include "engine/enlace.h"
#include "ui/comun/texto_qt.h"

namespace zelk::ui {

void AvisadorCaja::Avisar(const QString& texto) {
  QMessageBox caja(QMessageBox::NoIcon, Q(kTituloAplicacion), texto, QMessageBox::Ok);
  caja.setWindowModality(Qt::ApplicationModal);
  caja.exec();
}

}  // namespace zelk::ui
