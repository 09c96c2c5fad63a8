// Windows always has its desktop: what can fail is Qt's platform plugin beside the program.
#include "apps/zelk/vigia_pantalla.h"

QString TextoSinPantalla() {
  return QStringLiteral(
      "zelk: no se pudo abrir la ventana: falta el complemento de Qt para Windows "
      "(platforms\\qwindows.dll, junto a zelk.exe).\n"
      "Vuelva a instalar zelk.\n");
}
