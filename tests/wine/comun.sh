# Shared by the scripts that run the Windows build under Wine: a throw-away prefix, and a virtual
# X server of its own for each run, so that windows of different runs never meet. Sourced; $wine
# is the wine64 loader.

# wine_preparar PREFIJO
wine_preparar() {
  export WINEPREFIX="$1"
  # Wine names Unix files, and reads Unix arguments, in the charset of the C library's locale:
  # UTF-8 whatever the caller's (a bare environment's is ASCII, where "Ω" has no name).
  export LC_ALL=C.UTF-8
  export WINEDEBUG=-all
  # No Mono or Gecko (a first start would try to install them) and no menu entries in the
  # desktop of the user who runs the tests.
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  mkdir -p "$WINEPREFIX"
}

# wine_tomar CERROJO PREFIJO: one run at a time holds the lock file; the prefix is prepared, and
# its processes and the X server end with the script.
wine_tomar() {
  mkdir -p "$(dirname "$1")"
  exec 9>"$1"
  flock 9
  wine_preparar "$2"
  trap cerrar_todo EXIT
}

# Settings of the prefix, made once. A prefix made without a display would keep a desktop that
# has none: open the display first.
wine_configurar() {
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null &&
    grep -q 'Tahoma (TrueType)' "$WINEPREFIX/system.reg" 2>/dev/null && return 0
  # Windows not handed to a window manager: there is none, and Wine would wait two seconds for
  # one at every window it hides. Qt's messages, and Qt Test's results, to standard error: without
  # a console window they would go to the debugger, and Wine keeps Unix's QT_ variables from
  # Windows programs, so this one is the prefix's own.
  registro=$(mktemp)
  printf 'Windows Registry Editor Version 5.00\r\n\r\n%s\r\n%s\r\n\r\n%s\r\n%s\r\n' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' \
    '[HKEY_CURRENT_USER\Environment]' '"QT_FORCE_STDERR_LOGGING"="1"' >"$registro"
  "$wine" reg import "$(ruta_windows "$registro")" >/dev/null 2>&1
  rm -f "$registro"
  # Wine's own fonts (fonts-wine), Tahoma among them, where a Windows system keeps its fonts:
  # this Wine does not find them where the package puts them, and Qt's dialog font falls back to
  # a font that draws no text in the input fields.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # Named in the registry as Windows names its fonts: Qt's FreeType engine finds a font's file there.
  registro=$(mktemp)
  printf 'Windows Registry Editor Version 5.00\r\n\r\n%s\r\n' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]' >"$registro"
  for fuente in /usr/share/wine/fonts/*.ttf; do
    nombre=$(fc-scan --format '%{fullname}' "$fuente" | cut -d, -f1)
    [ -n "$nombre" ] && printf '"%s (TrueType)"="%s"\r\n' "$nombre" "$(basename "$fuente")" >>"$registro"
  done
  "$wine" reg import "$(ruta_windows "$registro")" >/dev/null 2>&1
  rm -f "$registro"
  # The screen's dots per inch, when a test asks for other than 96.
  if [ -n "${ZELK_WINE_PPP:-}" ]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$ZELK_WINE_PPP" /f \
      >/dev/null 2>&1
    "$(dirname "$wine")/wineserver" -w
  fi
}

# Starts Xvfb on a free display, which it names once it is ready.
pantalla_abrir() {
  numero=$(mktemp)
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$numero" 2>/dev/null &
  xvfb_pid=$!
  i=0
  while [ ! -s "$numero" ] && [ $i -lt 200 ]; do
    sleep 0.05
    i=$((i + 1))
  done
  [ -s "$numero" ] || { echo "Xvfb no arrancó" >&2; rm -f "$numero"; return 1; }
  export DISPLAY=":$(cat "$numero")"
  rm -f "$numero"
}

# Ends every process of the prefix, then the X server.
cerrar_todo() {
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

# A Unix path as Wine's drive Z: names it.
ruta_windows() {
  printf 'Z:%s' "$1" | tr / '\\'
}
