; The installer of zelk for 64-bit Windows, in Spanish: the licence, then the programs and what
; they load into "Archivos de programa\zelk", Start-menu entries "zelk", "zelk Estudios" and
; "Manual de zelk" (the manual's index.html, which opens in the browser), the studies (.zelk) opened
; by zelk Estudios, and an uninstaller registered in "Programas y características". /S installs and
; uninstalls without a question.
; Installing over an installation removes that one first, wherever it is (also when /D= names
; another folder): there is always one installation and one uninstall entry.
; A silent uninstall that a script waits for (README): a copy of desinstalar.exe outside the folder,
; run with /S _?=FOLDER, which keeps it from copying itself again and returning at once.
; makensis gets from the build: VERSION, ICONO, LICENCIA, ARCHIVOS and QUITAR (the lists of the
; files to install and to remove, made by empaquetar.cmake), TAMANO (their size in KB), MANUAL
; (the manual's index.html within the folder) and SALIDA (the installer to write).
Unicode true
Target amd64-unicode
; The installer is named "setup" on purpose, and asks for administrator rights all the same.
!pragma warning disable 9000
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh

!define CLAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\zelk"
; The studies' file type, for every user of the machine.
!define TIPO_ESTUDIO "zelk.Estudio"
!define DESINSTALADOR "desinstalar.exe"
!define ACCESO_MANUAL "$SMPROGRAMS\Manual de zelk.lnk"

Name "zelk ${VERSION}"
OutFile "${SALIDA}"
InstallDir "$PROGRAMFILES64\zelk"
InstallDirRegKey HKLM "${CLAVE}" "InstallLocation"
BrandingText "zelk ${VERSION}"

!define MUI_ICON "${ICONO}"
!define MUI_UNICON "${ICONO}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelk.exe"
; Free software under the GPL: the licence is shown, not accepted, to install and use the program.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "zelk es software libre (GPL de GNU, versión 3 o posterior): no hace falta aceptar la licencia para instalarlo y usarlo, solo para redistribuirlo o modificarlo."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENCIA}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "zelk"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalador de zelk ${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "El equipo de zelk"

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; An earlier installation, wherever it is, uninstalled in place and waited for; its uninstaller,
; which cannot remove itself while it runs, and the folders it leaves empty go after it.
Function QuitarAnterior
  ReadRegStr $0 HKLM "${CLAVE}" "InstallLocation"
  StrCmp $0 "" fin
  IfFileExists "$0\${DESINSTALADOR}" 0 fin
  ExecWait '"$0\${DESINSTALADOR}" /S _?=$0'
  Delete "$0\${DESINSTALADOR}"
  RMDir "$0"
  fin:
FunctionEnd

; The folders of $INSTDIR that do not exist yet, deepest first, as Carpeta0, Carpeta1... of the
; uninstall key: the uninstaller removes them once they are empty.
Function AnotarCarpetasNuevas
  StrCpy $0 "$INSTDIR"
  StrCpy $1 0
  bucle:
    IfFileExists "$0\*.*" fin
    WriteRegStr HKLM "${CLAVE}" "Carpeta$1" "$0"
    IntOp $1 $1 + 1
    ${GetParent} "$0" $0
    StrCmp $0 "" fin bucle
  fin:
FunctionEnd

Section "zelk"
  Call QuitarAnterior
  Call AnotarCarpetasNuevas
  !include "${ARCHIVOS}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
  CreateShortcut "$SMPROGRAMS\zelk.lnk" "$INSTDIR\zelk.exe" "" "$INSTDIR\zelk.exe" 0
  CreateShortcut "$SMPROGRAMS\zelk Estudios.lnk" "$INSTDIR\zelk-estudios.exe" "" \
    "$INSTDIR\zelk-estudios.exe" 0
  WriteRegStr HKLM "Software\Classes\.zelk" "" "${TIPO_ESTUDIO}"
  WriteRegStr HKLM "Software\Classes\${TIPO_ESTUDIO}" "" "Estudio de zelk"
  WriteRegStr HKLM "Software\Classes\${TIPO_ESTUDIO}\DefaultIcon" "" "$INSTDIR\zelk-estudios.exe,0"
  WriteRegStr HKLM "Software\Classes\${TIPO_ESTUDIO}\shell\open\command" "" \
    '"$INSTDIR\zelk-estudios.exe" "%1"'
  ; The shell learns of the new type at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  CreateShortcut "${ACCESO_MANUAL}" "$INSTDIR\${MANUAL}"

  WriteRegStr HKLM "${CLAVE}" "DisplayName" "zelk"
  WriteRegStr HKLM "${CLAVE}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${CLAVE}" "DisplayIcon" "$INSTDIR\zelk.exe,0"
  WriteRegStr HKLM "${CLAVE}" "Publisher" "El equipo de zelk"
  WriteRegStr HKLM "${CLAVE}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CLAVE}" "UninstallString" '"$INSTDIR\${DESINSTALADOR}"'
  WriteRegStr HKLM "${CLAVE}" "QuietUninstallString" '"$INSTDIR\${DESINSTALADOR}" /S'
  WriteRegDWORD HKLM "${CLAVE}" "EstimatedSize" ${TAMANO}
  WriteRegDWORD HKLM "${CLAVE}" "NoModify" 1
  WriteRegDWORD HKLM "${CLAVE}" "NoRepair" 1
SectionEnd

; Only what the installer put there: anything the user left in the folder stays, and so does the
; folder with it; then the folders the installer made, once empty.
Section "Uninstall"
  Delete "$SMPROGRAMS\zelk.lnk"
  Delete "$SMPROGRAMS\zelk Estudios.lnk"
  ; The studies' type goes, unless another program has taken the extension since.
  ReadRegStr $0 HKLM "Software\Classes\.zelk" ""
  StrCmp $0 "${TIPO_ESTUDIO}" 0 +2
  DeleteRegKey HKLM "Software\Classes\.zelk"
  DeleteRegKey HKLM "Software\Classes\${TIPO_ESTUDIO}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "${ACCESO_MANUAL}"
  !include "${QUITAR}"
  Delete "$INSTDIR\${DESINSTALADOR}"
  RMDir "$INSTDIR"
  StrCpy $1 0
  carpetas:
    ReadRegStr $0 HKLM "${CLAVE}" "Carpeta$1"
    StrCmp $0 "" hecho
    RMDir "$0"
    IntOp $1 $1 + 1
    Goto carpetas
  hecho:
  DeleteRegKey HKLM "${CLAVE}"
SectionEnd
