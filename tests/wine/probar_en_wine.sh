#!/bin/sh
# Runs the cross-built tests (the launcher, zelk-calc's core and its console layer) under Wine, in a throw-away prefix inside the build folder.
# Arguments: the wine64 loader, the folder of the cross-built test programs, the prefix.
set -eu
wine="$1"
programas="$2"
. "$(dirname "$0")/comun.sh"
wine_preparar "$3"
trap cerrar_todo EXIT
# A console of a Windows program is a window: its screen, which consola_wine_test reads, needs a
# display.
pantalla_abrir
rc=0
"$wine" "$programas/lanzador_wine_test.exe" "$(ruta_windows "$programas/msinfo32_prueba.exe")" || rc=$?
"$wine" "$programas/calc_wine_test.exe" || rc=$?
"$wine" "$programas/consola_wine_test.exe" </dev/null || rc=$?
exit $rc
