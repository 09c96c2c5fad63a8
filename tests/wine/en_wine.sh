#!/bin/sh
# Runs one program of the Windows build under Wine, in the build's prefix, on a virtual X server
# of its own: CTest's emulator for the window suites. One run at a time holds the prefix.
# Arguments: the wine64 loader, the prefix, WINEPATH (its folders separated by "|"), then the
# program and its arguments.
set -eu
wine="$1"
. "$(dirname "$0")/comun.sh"
wine_tomar "$2.cerrojo" "$2"
WINEPATH=$(printf '%s' "$3" | tr '|' ';')
export WINEPATH
shift 3
pantalla_abrir
wine_configurar
"$wine" "$@"
