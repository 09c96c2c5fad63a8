// Windows always has its desktop: what can fail is Qt's platform plugin beside the program.
#include "apps/zelk/vigia_pantalla.h"

QString TextoSinPantalla() {
  return QStringLiteral(
      "zelk-estudios: no se pudo abrir la ventana: falta el complemento de Qt para Windows "
      "(platforms\\qwindows.dll, junto a zelk-estudios.exe).\n"
      "Vuelva a instalar zelk.\n");
}
