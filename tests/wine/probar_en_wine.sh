#!/bin/sh
# Runs the cross-built tests (the launcher, zelk-calc's core) under Wine, in a throw-away prefix inside the build folder.
# Arguments: the wine64 loader, the folder of the cross-built test programs, the prefix.
set -eu
wine="$1"
programas="$2"
export WINEPREFIX="$3"
export WINEDEBUG=-all
# No Mono or Gecko: a first start would otherwise try to install them.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
herramienta="Z:$(printf '%s' "$programas/msinfo32_prueba.exe" | tr / '\\')"
rc=0
"$wine" "$programas/lanzador_wine_test.exe" "$herramienta" || rc=$?
"$wine" "$programas/calc_wine_test.exe" || rc=$?
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
exit $rc
