#!/bin/sh
# Start-up under Wine: zelk's start-up and the bare Qt program of the Windows build, each timed as
# a whole process from start to exit, in turn, pair after pair, with the prefix's server kept
# running; prints the medians in ms and their ratio (zelk over the bare program).
# Arguments: the Windows build folder and the number of pairs (21 unless given).
set -eu
construccion=$(cd "$1" && pwd)
pares="${2:-21}"
wine=/usr/lib/wine/wine64
. "$(dirname "$0")/../tests/wine/comun.sh"
# Wine finds Qt's DLLs in the Qt the build used, and MinGW's runtime where the compiler has it.
qt=$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p' "$construccion/CMakeCache.txt")
WINEPATH=$(ruta_windows "$qt/bin")
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  carpeta=$(dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")
  WINEPATH="$WINEPATH;$(ruta_windows "$carpeta")"
done
export WINEPATH
wine_preparar "$construccion/wine-arranque"
trap cerrar_todo EXIT
pantalla_abrir
wine_configurar
"$(dirname "$wine")/wineserver" -p
desnuda="$construccion/bench/zelk_sonda_desnuda.exe"
zelk="$construccion/bench/zelk_sonda_arranque.exe"
# Wine's notes on what it lacks go to standard error; they are not the figures.
"$wine" "$desnuda" 2>/dev/null
"$wine" "$zelk" 2>/dev/null

# milisegundos PROGRAMA: the wall time of one whole run.
milisegundos() {
  inicio=$(date +%s%N)
  "$wine" "$1" 2>/dev/null
  fin=$(date +%s%N)
  echo $(((fin - inicio) / 1000000))
}
mediana() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
: >"$construccion/arranque-desnuda.txt"
: >"$construccion/arranque-zelk.txt"
i=0
while [ "$i" -lt "$pares" ]; do
  milisegundos "$desnuda" >>"$construccion/arranque-desnuda.txt"
  milisegundos "$zelk" >>"$construccion/arranque-zelk.txt"
  i=$((i + 1))
done
d=$(mediana <"$construccion/arranque-desnuda.txt")
z=$(mediana <"$construccion/arranque-zelk.txt")
echo "Qt desnudo: $d ms; zelk: $z ms; relación: $(awk -v z="$z" -v d="$d" 'BEGIN { printf "%.2f", z / d }') (medianas de $pares pares)"
