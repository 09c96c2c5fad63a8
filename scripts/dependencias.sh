#!/bin/sh
# Installs the Debian 12 packages the project needs, when any is missing, and pyright, which
# Debian does not package, from npm. Run as root, or as a user with sudo.
set -eu
paquetes="g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  locales libc-bin g++-mingw-w64-x86-64-posix wine64 clang-14 libclang-rt-14-dev
  help2man desktop-file-utils appstream dpkg-dev
  nlohmann-json3-dev libqcustomplot-dev zlib1g-dev libz-mingw-w64-dev
  file lintian qt6-translations-l10n
  pybind11-dev python3-dev python3-numpy python3-pytest python3-pandas python3-venv python3-mypy
  python3-cloudpickle python3-dask python3-distributed python3-sphinx libjs-sphinxdoc
  nsis xvfb fonts-wine qt6ct git"
# The type checker the Python module's stubs are tested with, besides mypy; a Node.js that came
# with its own npm is kept.
pyright=1.1.414
command -v npm >/dev/null 2>&1 || paquetes="$paquetes npm"
faltan=""
for p in $paquetes; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan="$faltan $p"
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ -n "$faltan" ]; then
  echo "Instalando:$faltan"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $faltan
fi
if [ "$(pyright --version 2>/dev/null || true)" != "pyright $pyright" ]; then
  echo "Instalando: pyright $pyright (npm)"
  # Node.js trusts only the authorities it was built with: the system's too (where a site adds a
  # TLS proxy's), unless the environment already names a bundle.
  ca="${NODE_EXTRA_CA_CERTS:-/etc/ssl/certs/ca-certificates.crt}"
  [ -f "$ca" ] || ca=/dev/null
  $sudo env NODE_EXTRA_CA_CERTS="$ca" \
    npm install --global --no-fund --no-audit --loglevel=error "pyright@$pyright"
fi
