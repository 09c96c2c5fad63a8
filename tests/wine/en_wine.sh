#!/bin/sh
# Runs one program of the Windows build under Wine, in the build's prefix, on a virtual X server
# of its own: CTest's emulator for the window suites. One run at a time holds the prefix.
# Arguments: the wine64 loader, the prefix, WINEPATH (its folders separated by "|"), then the
# program and its arguments.
set -eu
wine="$1"
. "$(dirname "$0")/comun.sh"
mkdir -p "$(dirname "$2")"
exec 9>"$2.cerrojo"
flock 9
wine_preparar "$2"
WINEPATH=$(printf '%s' "$3" | tr '|' ';')
export WINEPATH
shift 3
trap cerrar_todo EXIT
pantalla_abrir
wine_configurar
"$wine" "$@"
