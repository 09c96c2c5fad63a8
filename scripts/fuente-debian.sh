# Sourced by the scripts that cross-build for Windows from Debian's own sources: fuente_debian
# FUENTE BINARIO VERSION CARPETA unpacks into CARPETA the source package FUENTE at VERSION, the
# version the host's package BINARIO has, with every patch of its debian/patches applied. Where apt
# knows no source entry for the archive that serves it, one is added for that same archive, as
# the machine's apt sources name it. Needs $sudo ("" as root).
fuente_debian() {
  fuente="$1"
  binario="$2"
  version="$3"
  carpeta="$4"
  if [ -z "$(apt-cache showsrc "$fuente" 2>/dev/null | grep -x "Version: $version")" ]; then
    linea=$(apt-cache madison "$binario" | awk -F'|' -v v=" $version " '$2 == v {print $3; exit}')
    uri=$(echo "$linea" | awk '{print $1}')
    suite=$(echo "$linea" | awk '{print $2}' | cut -d/ -f1)
    componente=$(echo "$linea" | awk '{print $2}' | cut -d/ -f2)
    if [ -z "$uri" ] || [ -z "$suite" ] || [ -z "$componente" ]; then
      echo "No se sabe de qué archivo viene $binario $version" >&2
      return 1
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
  (cd "$carpeta" && apt-get source -qq "$fuente=$version" >&2)
}
