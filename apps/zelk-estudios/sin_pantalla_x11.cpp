// Desktops of X11 and Wayland: the display comes from DISPLAY or WAYLAND_DISPLAY.
#include "apps/zelk/vigia_pantalla.h"

QString TextoSinPantalla() {
  const QString x11 = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  const QString motivo =
      x11.isEmpty() && wayland.isEmpty()
          ? QStringLiteral(
                "no hay ninguna sesión de escritorio (DISPLAY y WAYLAND_DISPLAY no "
                "están definidas)")
          : QStringLiteral("no se pudo conectar con la pantalla «%1»")
                .arg(x11.isEmpty() ? wayland : x11);
  return QStringLiteral(
             "zelk-estudios: no se encontró ninguna pantalla gráfica donde abrir la ventana: %1.\n"
             "En un equipo sin escritorio, ábralo bajo un servidor X virtual:\n"
             "  xvfb-run -a zelk-estudios\n"
             "zelk-calc hace los mismos barridos sin pantalla (zelk-calc --help).\n")
      .arg(motivo);
}
