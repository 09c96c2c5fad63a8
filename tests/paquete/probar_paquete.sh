#!/bin/sh
# Builds the Debian package, unpacks it into a throw-away root, checks that every file is where a
# desktop looks for it, and starts the installed programs from there (zelk Estudios with a study).
# Arguments: the build folder, a work folder and, when the package holds the Python module, the
# python3 it is built for.
set -eu
construccion="$1"
trabajo="$2"
rm -rf "$trabajo"
mkdir -p "$trabajo"
cpack --config "$construccion/CPackConfig.cmake" -B "$trabajo/cpack" >"$trabajo/cpack.log"
deb=$(ls "$trabajo"/cpack/zelk_*.deb)
raiz="$trabajo/raiz"
dpkg -x "$deb" "$raiz"

fallos=0
falla() {
  echo "FALLO: $*"
  fallos=$((fallos + 1))
}

id=org.zelk.zelk
for f in usr/bin/zelk usr/bin/zelk-calc \
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/man/man1/zelk-calc.1.gz \
  usr/share/man/man1/zelk.1.gz usr/share/doc/zelk/copyright usr/share/doc/zelk/changelog.gz; do
  [ -f "$raiz/$f" ] || falla "falta /$f"
done
for ejecutable in zelk zelk-calc; do
  [ -x "$raiz/usr/bin/$ejecutable" ] || falla "/usr/bin/$ejecutable no es ejecutable"
done
# The PNG icons, each of the size its folder names (width and height from the IHDR chunk).
for lado in 16 32 48; do
  png="$raiz/usr/share/icons/hicolor/${lado}x${lado}/apps/$id.png"
  if [ -f "$png" ]; then
    medidas=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
    [ "$medidas" = "0 0 0 $lado 0 0 0 $lado" ] || falla "$png mide $medidas"
  else
    falla "falta $png"
  fi
done

entrada="$raiz/usr/share/applications/$id.desktop"
desktop-file-validate "$entrada" || falla "la entrada de escritorio no es válida"
grep -qx "Exec=zelk" "$entrada" || falla "Exec no es zelk"
grep -qx "Icon=$id" "$entrada" || falla "Icon no es $id"
# The window's class on X11 is the program's name: the entry names it, so desktops pair them.
grep -qx "StartupWMClass=zelk" "$entrada" || falla "StartupWMClass no es zelk"
appstreamcli validate --no-net "$raiz/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  falla "los metadatos de AppStream no son válidos"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
  "$raiz/usr/share/metainfo/$id.metainfo.xml" || falla "AppStream no lanza $id.desktop"
zcat "$raiz/usr/share/man/man1/zelk-calc.1.gz" | grep -q '^\.TH ZELK-CALC "1"' ||
  falla "la página de manual no es de zelk-calc"
# One line of the synopsis per usage form, none of them left in the description.
sinopsis=$(zcat "$raiz/usr/share/man/man1/zelk-calc.1.gz" | sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p')
[ "$(echo "$sinopsis" | grep -c '^\.B zelk-calc$')" -ge 4 ] || falla "la sinopsis de zelk-calc: $sinopsis"
zcat "$raiz/usr/share/man/man1/zelk-calc.1.gz" | grep -q '^uso:' && falla "el uso sigue en la descripción"
zcat "$raiz/usr/share/man/man1/zelk.1.gz" | grep -q '^\.TH ZELK 1' || falla "la página de manual no es de zelk"
# The manual, its pages and pictures, with the scripts of Debian's packages linked, not copied,
# and the links leading to files of this system (which has libjs-sphinxdoc); both man pages
# name it.
manual=/usr/share/doc/zelk/html
for f in index.html modelo.html zelk-calc.html python.html ejemplos.html search.html \
  searchindex.js objects.inv _static/documentation_options.js _images/modelo-esquema.svg; do
  [ -f "$raiz$manual/$f" ] || falla "falta $manual/$f"
done
for js in jquery.js underscore.js doctools.js searchtools.js sphinx_highlight.js; do
  destino=$(readlink "$raiz$manual/_static/$js") || { falla "$manual/_static/$js no es un enlace"; continue; }
  [ "$destino" = "../../../../javascript/sphinxdoc/1.0/$js" ] || falla "$manual/_static/$js lleva a $destino"
  [ -f "/usr/share/javascript/sphinxdoc/1.0/$js" ] || falla "$js no está en libjs-sphinxdoc"
done
for pagina in zelk-calc.1.gz zelk.1.gz; do
  zcat "$raiz/usr/share/man/man1/$pagina" | grep -q "$manual/index.html" || falla "$pagina no nombra el manual"
done
head -n 1 "$raiz/usr/share/doc/zelk/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  falla "copyright no está en el formato de Debian"
zcat "$raiz/usr/share/doc/zelk/changelog.gz" | head -n 1 | grep -q '^zelk (1\.2) ' ||
  falla "changelog no empieza por zelk (1.2)"
# Debian's own checker: no error and no warning.
if ! lintian --no-cfg --fail-on error,warning "$deb" >"$trabajo/lintian.log" 2>&1; then
  falla "lintian: $(cat "$trabajo/lintian.log")"
fi

# zelk Estudios: its program, its own entry that opens a file, its metainfo, its icon, its man page
# and the MIME type of its studies.
ide=org.zelk.estudios
for f in usr/bin/zelk-estudios usr/share/applications/$ide.desktop \
  usr/share/metainfo/$ide.metainfo.xml usr/share/mime/packages/$ide.xml \
  usr/share/icons/hicolor/scalable/apps/$ide.svg usr/share/man/man1/zelk-estudios.1.gz; do
  [ -f "$raiz/$f" ] || falla "falta /$f"
done
for lado in 16 32 48; do
  png="$raiz/usr/share/icons/hicolor/${lado}x${lado}/apps/$ide.png"
  if [ -f "$png" ]; then
    medidas=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
    [ "$medidas" = "0 0 0 $lado 0 0 0 $lado" ] || falla "$png mide $medidas"
  else
    falla "falta $png"
  fi
done
entrada="$raiz/usr/share/applications/$ide.desktop"
desktop-file-validate "$entrada" || falla "la entrada de zelk Estudios no es válida"
grep -qx "Exec=zelk-estudios %f" "$entrada" || falla "Exec no es zelk-estudios %f"
grep -qx "Icon=$ide" "$entrada" || falla "Icon no es $ide"
grep -qx "StartupWMClass=zelk-estudios" "$entrada" || falla "StartupWMClass no es zelk-estudios"
grep -qx "MimeType=application/x-zelk-estudio;" "$entrada" || falla "la entrada no abre estudios"
grep -q 'type="application/x-zelk-estudio"' "$raiz/usr/share/mime/packages/$ide.xml" &&
  grep -q '<glob pattern="\*.zelk"/>' "$raiz/usr/share/mime/packages/$ide.xml" ||
  falla "el tipo MIME de los estudios no es *.zelk"
appstreamcli validate --no-net "$raiz/usr/share/metainfo/$ide.metainfo.xml" >/dev/null ||
  falla "los metadatos de AppStream de zelk Estudios no son válidos"
zcat "$raiz/usr/share/man/man1/zelk-estudios.1.gz" | grep -q '^\.TH ZELK-ESTUDIOS 1' ||
  falla "la página de manual no es de zelk-estudios"
[ "$("$raiz/usr/bin/zelk-estudios" --version)" = "zelk-estudios 1.2" ] ||
  falla "zelk-estudios --version"

[ "$(dpkg-deb -f "$deb" Version)" = "1.2" ] || falla "la versión no es 1.2"
dependencias=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-dejavu-core qt6-translations-l10n \
  libjs-sphinxdoc; do
  echo "$dependencias" | grep -q "$d" || falla "no depende de $d"
done

# The installed programs, from the throw-away root.
salida=$(LC_ALL=C.UTF-8 "$raiz/usr/bin/zelk-calc" Idc=1000)
echo "$salida" | grep -q "$(printf 'Vdcr\t537')" || falla "zelk-calc instalado: $salida"
# Its plots come from a module it loads where the package put it.
LC_ALL=C.UTF-8 "$raiz/usr/bin/zelk-calc" --sweep Idc=1000:2000:5 -o /dev/null \
  --plot "$trabajo/curvas.svg" || falla "zelk-calc instalado no dibuja"
grep -q '<svg' "$trabajo/curvas.svg" 2>/dev/null || falla "zelk-calc instalado: sin SVG"
# The Python module from the throw-away root, not from the build tree.
if [ -n "${3:-}" ]; then
  modulo="$raiz/usr/lib/python3/dist-packages/zelk"
  for f in __init__.py __init__.pyi py.typed; do
    [ -f "$modulo/$f" ] || falla "falta /usr/lib/python3/dist-packages/zelk/$f"
  done
  salida=$(cd "$trabajo" && PYTHONPATH="$raiz/usr/lib/python3/dist-packages" "$3" -B -s -c \
    'import zelk; print(zelk.__file__); print(zelk.calcular(Idc=1000)["Vdcr"])' 2>&1) ||
    falla "el módulo instalado no se importa: $salida"
  [ "$salida" = "$(printf '%s\n537.0' "$modulo/__init__.py")" ] || falla "módulo instalado: $salida"
  dpkg-deb -f "$deb" Recommends | grep -q python3-numpy || falla "no recomienda python3-numpy"
fi
mkdir -p -m 700 "$trabajo/xdg"
estado=0
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$trabajo/xdg" timeout 3 "$raiz/usr/bin/zelk" \
  2>"$trabajo/zelk.err" || estado=$?
# Still running when stopped: it came up and waits for the user.
[ "$estado" -eq 124 ] || falla "zelk instalado terminó con $estado: $(cat "$trabajo/zelk.err")"
# zelk Estudios, given a study, from the throw-away root.
printf '{"formato": "zelk-estudio", "version": 1, "datos": {"Idc": 1000}}\n' >"$trabajo/prueba.zelk"
estado=0
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$trabajo/xdg" XDG_CONFIG_HOME="$trabajo/config" \
  timeout 3 "$raiz/usr/bin/zelk-estudios" "$trabajo/prueba.zelk" 2>"$trabajo/estudios.err" ||
  estado=$?
[ "$estado" -eq 124 ] ||
  falla "zelk-estudios instalado terminó con $estado: $(cat "$trabajo/estudios.err")"

[ "$fallos" -eq 0 ] && echo "paquete $(basename "$deb"): bien"
exit "$fallos"
