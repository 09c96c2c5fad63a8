#!/bin/sh
# Cross-builds Qt for 64-bit Windows with MinGW-w64, from Debian's own qt6-base source with its
# patches applied, and caches it outside the checkout: a machine pays for it once. The cache is
# keyed by the Qt and MinGW package versions, the configure options and the toolchain file.
# Prints the prefix of the built Qt on its last line. Run as root, or as a user with sudo.
set -eu
cd "$(dirname "$0")/.."
raiz_proyecto=$(pwd)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Only what the windows and their tests need: Core, Gui, Widgets, PrintSupport (the plots' PDF),
# Test and the Windows platform plugin. With direct2d off, directwrite3 must be off too (the platform plugin would not link);
# Debian's source drops the tablet library, hence tabletevent off.
opciones="-DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DFEATURE_pkg_config=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DINPUT_opengl=no
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_icu=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_concurrent=OFF"
toolchain="$raiz_proyecto/cmake/mingw-w64-x86_64.cmake"

version_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev)
version_mingw=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
clave=$(printf '%s\n%s\n%s\n' "$version_qt" "$version_mingw" "$opciones" |
  cat - "$toolchain" | grep -v '^#' | sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/zelk"
prefijo="$cache/qt-$(echo "$version_qt" | tr '+~:' '---')-mingw-$clave"
if [ -f "$prefijo/.completo" ]; then
  echo "$prefijo"
  exit 0
fi

trabajo="$cache/trabajo-$clave"
rm -rf "$trabajo" "$prefijo"
mkdir -p "$trabajo"
echo "Construyendo Qt $version_qt para Windows en $prefijo (una vez por máquina; casi una hora)" >&2

# The source of the very version the host's Qt has. Where apt knows no source entry for the
# archive that serves it, add one for that same archive, as the machine's apt sources name it.
if [ -z "$(apt-cache showsrc qt6-base 2>/dev/null | grep -x "Version: $version_qt")" ]; then
  linea=$(apt-cache madison qt6-base-dev | awk -F'|' -v v=" $version_qt " '$2 == v {print $3; exit}')
  uri=$(echo "$linea" | awk '{print $1}')
  suite=$(echo "$linea" | awk '{print $2}' | cut -d/ -f1)
  componente=$(echo "$linea" | awk '{print $2}' | cut -d/ -f2)
  if [ -z "$uri" ] || [ -z "$suite" ] || [ -z "$componente" ]; then
    echo "No se sabe de qué archivo viene qt6-base-dev $version_qt" >&2
    exit 1
  fi
  # The source entry copies the archive's own entry (and so its signing key), as deb-src.
  nuevas=$(mktemp -d)
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v uri="$uri" '$1 == "deb" { for (i = 2; i <= NF; i++) { u = $i; sub(/\/$/, "", u)
      if (u == uri) { sub(/^deb/, "deb-src"); print; next } } }' "$f"
  done >"$nuevas/zelk-fuentes.list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v uri="$uri" 'BEGIN { RS = ""; FS = "\n" } {
      tipo = 0; sitio = 0
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^Types:/ && $i ~ /[ \t]deb([ \t]|$)/) tipo = 1
        if ($i ~ /^URIs:/) { n = split($i, us, /[ \t]+/)
          for (j = 2; j <= n; j++) { u = us[j]; sub(/\/$/, "", u); if (u == uri) sitio = 1 } }
      }
      if (tipo && sitio) { for (i = 1; i <= NF; i++) {
          if ($i ~ /^Types:/) print "Types: deb-src"; else print $i }
        print "" } }' "$f"
  done >"$nuevas/zelk-fuentes.sources"
  for f in "$nuevas"/*; do
    [ -s "$f" ] && $sudo cp "$f" /etc/apt/sources.list.d/ && cat "$f" >&2
  done
  rm -rf "$nuevas"
  $sudo apt-get update -qq >&2
fi
# apt-get source unpacks with dpkg-source, which applies every patch of debian/patches.
(cd "$trabajo" && apt-get source -qq "qt6-base=$version_qt" >&2)
fuente=$(find "$trabajo" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$fuente" ] || { echo "apt-get source no dejó el código de qt6-base" >&2; exit 1; }

# shellcheck disable=SC2086
cmake -S "$fuente" -B "$trabajo/construccion" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefijo" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  $opciones >"$trabajo/configurar.log" 2>&1 ||
  { tail -n 40 "$trabajo/configurar.log" >&2; exit 1; }
cmake --build "$trabajo/construccion" -j "$(nproc)" >"$trabajo/construir.log" 2>&1 ||
  { tail -n 40 "$trabajo/construir.log" >&2; exit 1; }
cmake --install "$trabajo/construccion" >"$trabajo/instalar.log" 2>&1 ||
  { tail -n 40 "$trabajo/instalar.log" >&2; exit 1; }
printf '%s\n%s\n%s\n' "$version_qt" "$version_mingw" "$opciones" >"$prefijo/.completo"
rm -rf "$trabajo"
echo "$prefijo"
