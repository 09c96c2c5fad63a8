// Desktops of X11 and Wayland: the display comes from DISPLAY or WAYLAND_DISPLAY.
#include "apps/zelk/vigia_pantalla.h"

QString TextoSinPantalla() {
  const QString x11 = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  QString motivo;
  if (x11.isEmpty() && wayland.isEmpty())
    motivo = QStringLiteral(
        "no hay ninguna sesión de escritorio (DISPLAY y WAYLAND_DISPLAY "
        "no están definidas)");
  else
    motivo = QStringLiteral("no se pudo conectar con la pantalla «%1»")
                 .arg(x11.isEmpty() ? wayland : x11);
  return QStringLiteral(
             "zelk: no se encontró ninguna pantalla gráfica donde abrir la ventana: %1.\n"
             "En un equipo sin escritorio, ábralo bajo un servidor X virtual:\n"
             "  xvfb-run -a zelk\n"
             "zelk-calc hace los mismos cálculos sin pantalla (zelk-calc --help).\n")
      .arg(motivo);
}
