#!/bin/sh
# Runs the cross-built tests (the launcher, zelk-calc's core) under Wine, in a throw-away prefix inside the build folder.
# Arguments: the wine64 loader, the folder of the cross-built test programs, the prefix.
set -eu
wine="$1"
programas="$2"
. "$(dirname "$0")/comun.sh"
wine_preparar "$3"
trap cerrar_todo EXIT
rc=0
"$wine" "$programas/lanzador_wine_test.exe" "$(ruta_windows "$programas/msinfo32_prueba.exe")" || rc=$?
"$wine" "$programas/calc_wine_test.exe" || rc=$?
exit $rc
