#include "ui/comun/avisador.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "engine/enlace.h"
#include "ui/comun/texto_qt.h"

namespace zelk::ui {

void AvisadorCaja::Avisar(const QString& texto) {
  QMessageBox caja(QMessageBox::NoIcon, Q(kTituloAplicacion), texto, QMessageBox::Ok);
  caja.setWindowModality(Qt::ApplicationModal);
  // Some styles put an icon on the standard buttons; this box shows text only.
  for (auto* boton : caja.buttons())
    boton->setIcon(QIcon());
  caja.exec();
}

}  // namespace zelk::ui
