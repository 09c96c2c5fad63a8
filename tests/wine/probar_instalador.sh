#!/bin/sh
# The Windows installer under Wine, in a prefix of its own: a silent install puts every file of the
# zip's folder into "Program Files\zelk", with the Start-menu entry and the uninstall key; the
# installed program passes instalado_wine_test on a virtual X server; a silent uninstall leaves
# neither files nor key behind.
# Arguments: the wine64 loader, the installer, the zip, instalado_wine_test.exe,
# msinfo32_prueba.exe, a work folder.
set -eu
wine="$1"
instalador="$2"
zip="$3"
prueba="$4"
herramienta="$5"
trabajo="$6"
. "$(dirname "$0")/comun.sh"
rm -rf "$trabajo"
mkdir -p "$trabajo/zip"
(cd "$trabajo/zip" && cmake -E tar xf "$zip")
wine_tomar "$trabajo.cerrojo" "$trabajo/prefijo"
pantalla_abrir
wine_configurar

fallos=0
falla() {
  echo "FALLO: $*"
  fallos=$((fallos + 1))
}
clave='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelk'
# valor NOMBRE: the text of a value of the uninstall key, as reg.exe prints it.
valor() {
  "$wine" reg query "$clave" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

estado=0
"$wine" "$instalador" /S || estado=$?
[ "$estado" -eq 0 ] || falla "el instalador salió con $estado"
"$(dirname "$wine")/wineserver" -w

destino="$WINEPREFIX/drive_c/Program Files/zelk"
(cd "$trabajo"/zip/zelk-*-win64 && find . -type f | sort) >"$trabajo/esperados"
(cd "$destino" && find . -type f | sort) >"$trabajo/instalados"
echo ./desinstalar.exe | cat - "$trabajo/esperados" | sort >"$trabajo/esperados-y-desinstalador"
cmp -s "$trabajo/esperados-y-desinstalador" "$trabajo/instalados" || {
  falla "los archivos instalados no son los del zip y el desinstalador"
  diff "$trabajo/esperados-y-desinstalador" "$trabajo/instalados" || true
}
while read -r f; do
  cmp -s "$trabajo/zip/$(ls "$trabajo/zip")/$f" "$destino/$f" || falla "$f instalado difiere del zip"
done <"$trabajo/esperados"
acceso="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/zelk.lnk"
[ -f "$acceso" ] || falla "no está zelk en el menú Inicio"
grep -qa 'zelk.exe' "$acceso" || falla "la entrada del menú Inicio no lleva a zelk.exe"

[ "$(valor DisplayName)" = "zelk" ] || falla "DisplayName: $(valor DisplayName)"
[ "$(valor DisplayVersion)" = "1.2" ] || falla "DisplayVersion: $(valor DisplayVersion)"
[ "$(valor DisplayIcon)" = 'C:\Program Files\zelk\zelk.exe,0' ] ||
  falla "DisplayIcon: $(valor DisplayIcon)"
[ "$(valor UninstallString)" = '"C:\Program Files\zelk\desinstalar.exe"' ] ||
  falla "UninstallString: $(valor UninstallString)"

# The installed program, from outside.
"$wine" "$prueba" 'C:\Program Files\zelk\zelk.exe' "$(ruta_windows "$herramienta")" ||
  falla "el programa instalado no pasó su prueba"

# The uninstaller copies itself out of the folder and runs from there: wait for every process.
estado=0
"$wine" 'C:\Program Files\zelk\desinstalar.exe' /S || estado=$?
[ "$estado" -eq 0 ] || falla "el desinstalador salió con $estado"
"$(dirname "$wine")/wineserver" -w
[ ! -e "$destino" ] || falla "quedan archivos: $(cd "$destino" && find . | tr '\n' ' ')"
[ ! -e "$acceso" ] || falla "queda la entrada del menú Inicio"
"$wine" reg query "$clave" >/dev/null 2>&1 && falla "queda la clave de desinstalación"

[ "$fallos" -eq 0 ] && echo "instalador bajo Wine: bien"
exit "$fallos"
