#!/bin/sh
# zelk-calc.exe from the Windows package, unpacked from its zip and run under Wine, beside the
# native build's zelk-calc: the same 13 texts for the start-up data, with the settings of the
# environment (English, then Spanish) and with --locale, and with the typographic apostrophe of
# de-CH; files named beyond the ANSI code page written and read under their names; --help as UTF-8
# bytes when redirected; and plots: a PNG and a PDF drawn through the plot module beside it, and an
# SVG, which Windows' Qt cannot write, refused in plain words before anything is computed.
# Arguments: the wine64 loader, the native zelk-calc, the zip, the folder of the generated es_ES
# locale, a work folder.
set -eu
wine="$1"
nativo="$2"
zip="$3"
locpath="$4"
trabajo="$5"
. "$(dirname "$0")/comun.sh"
rm -rf "$trabajo"
mkdir -p "$trabajo"
(cd "$trabajo" && cmake -E tar xf "$zip")
calc=$(ls "$trabajo"/zelk-*-win64/zelk-calc.exe)
wine_tomar "$trabajo.cerrojo" "$trabajo/prefijo"
# The plot module draws through Qt's Windows platform, which wants a display; the prefix is made
# with it open.
pantalla_abrir
wine_configurar

fallos=0
falla() {
  echo "FALLO: $*"
  fallos=$((fallos + 1))
}

# comparar NOMBRE VARIABLE=VALOR [ARGUMENTO]...: both programs under the same environment, their
# standard output and exit status.
comparar() {
  nombre="$1"
  entorno="$2"
  shift 2
  estado_n=0
  env -u LANG -u LANGUAGE "$entorno" LOCPATH="$locpath" "$nativo" "$@" \
    >"$trabajo/$nombre.nativo" || estado_n=$?
  estado_w=0
  env -u LANG -u LANGUAGE "$entorno" LOCPATH="$locpath" "$wine" "$calc" "$@" \
    >"$trabajo/$nombre.crudo" || estado_w=$?
  tr -d '\r' <"$trabajo/$nombre.crudo" >"$trabajo/$nombre.windows"
  if ! cmp -s "$trabajo/$nombre.nativo" "$trabajo/$nombre.windows"; then
    falla "$nombre: las salidas difieren"
    diff "$trabajo/$nombre.nativo" "$trabajo/$nombre.windows" || true
  fi
  [ "$estado_n" -eq "$estado_w" ] || falla "$nombre: estado $estado_n en Linux, $estado_w en Windows"
  [ "$(wc -l <"$trabajo/$nombre.windows")" -eq 13 ] || falla "$nombre: no son 13 resultados"
  return 0
}

comparar ingles LC_ALL=en_US.UTF-8
comparar espanol LC_ALL=es_ES.UTF-8
comparar opcion LC_ALL=en_US.UTF-8 --locale es_ES
grep -q "$(printf 'alpha\t18,40')" "$trabajo/espanol.windows" || falla "sin la coma de es_ES"
grep -q "$(printf 'alpha\t18.40')" "$trabajo/ingles.windows" || falla "sin el punto de en_US"

comparar suizo LC_ALL=en_US.UTF-8 --locale de_CH "Idc=1’500"
grep -q "$(printf 'Vdcr\t543')" "$trabajo/suizo.windows" || falla "1’500 no se leyó como 1500"

# Names no ANSI code page holds: written and read under their own names, and no other file made.
mkdir -p "$trabajo/unicode"
printf 'Idc\r\n1000\r\n' >"$trabajo/unicode/puntos Ω.csv"
estado=0
"$wine" "$calc" --csv "$trabajo/unicode/puntos Ω.csv" -o "$trabajo/unicode/resultados Ω.csv" \
  || estado=$?
[ "$estado" -eq 0 ] || falla "nombres con Ω: estado $estado"
[ "$(ls "$trabajo/unicode" | sort | tr '\n' '|')" = "puntos Ω.csv|resultados Ω.csv|" ] ||
  falla "nombres con Ω: $(ls "$trabajo/unicode")"
grep -q "^1000[,;]" "$trabajo/unicode/resultados Ω.csv" || falla "la tabla de «resultados Ω.csv»"

# Redirected, the help stays UTF-8 bytes, and names the plot formats this build writes.
"$wine" "$calc" --help >"$trabajo/ayuda.txt"
grep -q "configuración regional" "$trabajo/ayuda.txt" || falla "la ayuda no es UTF-8"
grep -q -- "--plot ARCHIVO .*ARCHIVO.png o .pdf;" "$trabajo/ayuda.txt" || falla "la ayuda no dice los formatos"
grep -q "(no .svg: su Qt no trae el módulo Qt Svg)" "$trabajo/ayuda.txt" || falla "la ayuda no dice por qué no SVG"

estado=0
"$wine" "$calc" --sweep Idc=1000:2000:3 --plot "$trabajo/curvas.svg" >"$trabajo/plot.out" \
  2>"$trabajo/plot.err" || estado=$?
[ "$estado" -eq 2 ] || falla "--plot .svg salió con $estado"
grep -q "no escribe SVG: su Qt no trae el módulo Qt Svg; sí .png o .pdf" "$trabajo/plot.err" ||
  falla "--plot .svg dice: $(cat "$trabajo/plot.err")"
[ ! -s "$trabajo/plot.out" ] || falla "--plot .svg escribió la tabla antes de negarse"
[ ! -e "$trabajo/curvas.svg" ] || falla "--plot .svg dejó un archivo"

for formato in png pdf; do
  estado=0
  "$wine" "$calc" --sweep Idc=500:3000:200 --sweep Rdc=5:15:3 --plot "$trabajo/curvas.$formato" \
    --plot-size 640x480 >"$trabajo/plot.out" 2>"$trabajo/plot.err" || estado=$?
  [ "$estado" -eq 0 ] || falla "--plot .$formato salió con $estado: $(cat "$trabajo/plot.err")"
  [ ! -s "$trabajo/plot.err" ] || falla "--plot .$formato dijo: $(cat "$trabajo/plot.err")"
  [ "$(wc -l <"$trabajo/plot.out")" -eq 601 ] || falla "--plot .$formato: la tabla no tiene 600 filas"
done
# A PNG of the size asked for (the header's width and height), and a PDF page of as many pixels
# at 96 per inch.
[ "$(head -c 24 "$trabajo/curvas.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = \
  "89504e470d0a1a0a0000000d4948445200000280000001e0" ] || falla "curvas.png no es un PNG de 640x480"
[ "$(head -c 5 "$trabajo/curvas.pdf" 2>/dev/null)" = "%PDF-" ] || falla "curvas.pdf no es un PDF"
grep -aq "/MediaBox \[0 0 480" "$trabajo/curvas.pdf" || falla "curvas.pdf no mide 480 puntos"
[ "$(wc -c <"$trabajo/curvas.png")" -gt 10000 ] || falla "curvas.png está casi vacío"

# The system's errors in Spanish, with the code's name, as on Linux; a table for Excel with its mark.
estado=0
"$wine" "$calc" --csv "$trabajo/no-existe.csv" 2>"$trabajo/falta.err" || estado=$?
[ "$estado" -eq 2 ] || falla "archivo que falta: estado $estado"
grep -q "no existe el archivo o la carpeta (ENOENT)" "$trabajo/falta.err" ||
  falla "archivo que falta: $(cat "$trabajo/falta.err")"
estado=0
"$wine" "$calc" --sweep Idc=1000:2000:3 -o "$trabajo/unicode" 2>"$trabajo/carpeta.err" || estado=$?
[ "$estado" -eq 2 ] || falla "salida en una carpeta: estado $estado"
grep -q "es una carpeta" "$trabajo/carpeta.err" || falla "salida en una carpeta: $(cat "$trabajo/carpeta.err")"
"$wine" "$calc" --sweep Idc=1000:2000:3 --bom >"$trabajo/marca.csv"
[ "$(head -c 3 "$trabajo/marca.csv" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || falla "--bom sin marca"

[ "$fallos" -eq 0 ] && echo "zelk-calc del paquete bajo Wine: bien"
exit "$fallos"
