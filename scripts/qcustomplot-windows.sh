#!/bin/sh
# Cross-builds QCustomPlot for 64-bit Windows with MinGW-w64 against the Windows Qt that
# scripts/qt-windows.sh makes, from Debian's own qcustomplot source with its patches (which add
# its CMake build), and caches it outside the checkout beside that Qt: a machine pays for it once.
# The cache is keyed by the QCustomPlot and MinGW package versions, the Qt it is built against
# (whose folder names its version and options), the configure options and the toolchain file.
# Argument: the Windows Qt's folder. Prints the built QCustomPlot's folder on its last line.
set -eu
cd "$(dirname "$0")/.."
raiz_proyecto=$(pwd)
qt="$1"
[ -f "$qt/.completo" ] || { echo "$qt no es un Qt para Windows terminado" >&2; exit 1; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# A DLL, linked against Qt's, as Debian builds it; Release, as the Qt is.
opciones="-DCMAKE_BUILD_TYPE=Release -DUSE_QT_VERSION=6 -DBUILD_SHARED_LIBS=ON"
toolchain="$raiz_proyecto/cmake/mingw-w64-x86_64.cmake"

version=$(dpkg-query -W -f='${Version}' libqcustomplot-dev)
version_mingw=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
clave=$(printf '%s\n%s\n%s\n%s\n' "$version" "$version_mingw" "$qt" "$opciones" |
  cat - "$toolchain" | grep -v '^#' | sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/zelk"
prefijo="$cache/qcustomplot-$(echo "$version" | tr '+~:' '---')-mingw-$clave"
if [ -f "$prefijo/.completo" ]; then
  echo "$prefijo"
  exit 0
fi

trabajo="$cache/trabajo-qcustomplot-$clave"
rm -rf "$trabajo" "$prefijo"
mkdir -p "$trabajo"
echo "Construyendo QCustomPlot $version para Windows en $prefijo (una vez por máquina)" >&2
. "$raiz_proyecto/scripts/fuente-debian.sh"
fuente_debian qcustomplot libqcustomplot-dev "$version" "$trabajo"
fuente=$(find "$trabajo" -maxdepth 1 -type d -name 'qcustomplot-*' | head -n 1)
[ -n "$fuente" ] || { echo "apt-get source no dejó el código de qcustomplot" >&2; exit 1; }

# shellcheck disable=SC2086
cmake -S "$fuente" -B "$trabajo/construccion" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefijo" -DCMAKE_PREFIX_PATH="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  $opciones >"$trabajo/configurar.log" 2>&1 ||
  { tail -n 40 "$trabajo/configurar.log" >&2; exit 1; }
cmake --build "$trabajo/construccion" -j "$(nproc)" >"$trabajo/construir.log" 2>&1 ||
  { tail -n 40 "$trabajo/construir.log" >&2; exit 1; }
cmake --install "$trabajo/construccion" >"$trabajo/instalar.log" 2>&1 ||
  { tail -n 40 "$trabajo/instalar.log" >&2; exit 1; }
printf '%s\n%s\n%s\n%s\n' "$version" "$version_mingw" "$qt" "$opciones" >"$prefijo/.completo"
rm -rf "$trabajo"
echo "$prefijo"
