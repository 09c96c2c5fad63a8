#!/bin/sh
# zelk where no graphical display can be opened: a plain Spanish message with the way to run it,
# status 1, and never Qt's abort with its advice to reinstall.
# Argument: the zelk program.
set -u
zelk="$1"
fallos=0
probar() {
  que="$1"
  shift
  salida=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 30 "$zelk" 2>&1)
  estado=$?
  [ "$estado" -eq 1 ] || { echo "FALLO ($que): estado $estado"; fallos=$((fallos + 1)); }
  for texto in "no se encontró ninguna pantalla gráfica" "xvfb-run -a zelk"; do
    echo "$salida" | grep -qF "$texto" || { echo "FALLO ($que): falta «$texto»"; fallos=$((fallos + 1)); }
  done
  if echo "$salida" | grep -qiE "reinstall|platform plugin"; then
    echo "FALLO ($que): el mensaje de Qt sigue: $salida"
    fallos=$((fallos + 1))
  fi
}
probar "sin DISPLAY" -u DISPLAY
probar "pantalla inalcanzable" DISPLAY=:4719 QT_QPA_PLATFORM=xcb
[ "$fallos" -eq 0 ] && echo "sin pantalla: bien"
exit "$fallos"
