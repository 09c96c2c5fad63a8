#!/bin/sh
# The Windows installer under Wine, in a prefix of its own: a silent install puts every file of the
# zip's folder into "Program Files\zelk", with the Start-menu entry and the uninstall key; the
# installed programs carry their resources (recursos_wine_test) and zelk passes
# instalado_wine_test on a virtual X server; a silent uninstall leaves neither files nor key behind.
# Installing again, also into another folder with /D=, leaves one installation; the uninstall that
# a script waits for is over when it returns, with the folders the installer made.
# Arguments: the wine64 loader, the installer, the zip, instalado_wine_test.exe,
# msinfo32_prueba.exe, a work folder, recursos_wine_test.exe.
set -eu
wine="$1"
instalador="$2"
zip="$3"
prueba="$4"
herramienta="$5"
trabajo="$6"
recursos="$7"
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
manual="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Manual de zelk.lnk"
[ -f "$manual" ] || falla "no está «Manual de zelk» en el menú Inicio"
grep -qa 'manual\\index.html' "$manual" || falla "«Manual de zelk» no lleva a manual\\index.html"
[ -f "$destino/manual/index.html" ] || falla "no se instala el manual"

[ "$(valor DisplayName)" = "zelk" ] || falla "DisplayName: $(valor DisplayName)"
[ "$(valor DisplayVersion)" = "1.2" ] || falla "DisplayVersion: $(valor DisplayVersion)"
[ "$(valor DisplayIcon)" = 'C:\Program Files\zelk\zelk.exe,0' ] ||
  falla "DisplayIcon: $(valor DisplayIcon)"
[ "$(valor UninstallString)" = '"C:\Program Files\zelk\desinstalar.exe"' ] ||
  falla "UninstallString: $(valor UninstallString)"

# The licences as Notepad reads them: the UTF-8 mark and CRLF line ends only.
for texto in "$destino"/licencias/*.txt; do
  [ "$(head -c 3 "$texto" | od -An -tx1 | tr -d ' ')" = efbbbf ] || falla "$texto sin marca UTF-8"
  [ "$(tr -cd '\n' <"$texto" | wc -c)" -eq "$(tr -cd '\r' <"$texto" | wc -c)" ] ||
    falla "$texto con líneas sin CRLF"
done

"$wine" "$recursos" 'C:\Program Files\zelk\zelk.exe' 'C:\Program Files\zelk\zelk-calc.exe' ||
  falla "los programas instalados no llevan sus recursos"

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
[ ! -e "$manual" ] || falla "queda «Manual de zelk» en el menú Inicio"
"$wine" reg query "$clave" >/dev/null 2>&1 && falla "queda la clave de desinstalación"

# Installed twice, then into another folder: one installation, where it was last installed, and the
# folders made for it noted for the uninstaller.
C="$WINEPREFIX/drive_c"
"$wine" "$instalador" /S
"$wine" "$instalador" /S
[ -f "$destino/zelk.exe" ] || falla "reinstalado: falta zelk.exe"
"$wine" "$instalador" /S '/D=C:\Datos\Programas\zelk'
[ ! -e "$destino" ] || falla "con /D= queda la instalación anterior"
[ -f "$C/Datos/Programas/zelk/zelk.exe" ] || falla "con /D=: falta zelk.exe"
[ "$(valor InstallLocation)" = 'C:\Datos\Programas\zelk' ] || falla "InstallLocation: $(valor InstallLocation)"

# The uninstall a script waits for, as the README says: a copy outside the folder, with _?=. When
# it returns everything is gone, the folders made for zelk too, and a folder that was there stays.
cp "$C/Datos/Programas/zelk/desinstalar.exe" "$C/desinstalar-zelk.exe"
"$wine" 'C:\desinstalar-zelk.exe' /S '_?=C:\Datos\Programas\zelk' || falla "desinstalar con _?="
[ ! -e "$C/Datos" ] || falla "quedan carpetas: $(cd "$C/Datos" && find . | tr '\n' ' ')"
"$wine" reg query "$clave" >/dev/null 2>&1 && falla "queda la clave tras desinstalar con _?="
[ ! -e "$acceso" ] || falla "queda la entrada del menú Inicio tras desinstalar con _?="
[ ! -e "$manual" ] || falla "queda «Manual de zelk» en el menú Inicio tras desinstalar con _?="
mkdir -p "$C/Existente"
"$wine" "$instalador" /S '/D=C:\Existente\zelk'
"$wine" 'C:\desinstalar-zelk.exe' /S '_?=C:\Existente\zelk'
[ -d "$C/Existente" ] && [ ! -e "$C/Existente/zelk" ] || falla "C:\Existente: $(ls -R "$C/Existente")"
rm -f "$C/desinstalar-zelk.exe"

[ "$fallos" -eq 0 ] && echo "instalador bajo Wine: bien"
exit "$fallos"
