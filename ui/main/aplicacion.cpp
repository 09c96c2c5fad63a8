#include "ui/main/aplicacion.h"

#include <QApplication>

#include "regional/regional_qt.h"
#include "ui/comun/dibujos.h"
#include "ui/comun/texto_qt.h"
#include "ui/comun/traducciones.h"

namespace zelk::ui {

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
