; The installer of zelk for 64-bit Windows, in Spanish: the programs and what they load into
; "Archivos de programa\zelk", a Start-menu entry "zelk", and an uninstaller registered in
; "Programas y características". /S installs and uninstalls without a question.
; makensis gets from the build: VERSION, ICONO, ARCHIVOS and QUITAR (the lists of the files to
; install and to remove, made by empaquetar.cmake), TAMANO (their size in KB) and SALIDA (the
; installer to write).
Unicode true
Target amd64-unicode
; The installer is named "setup" on purpose, and asks for administrator rights all the same.
!pragma warning disable 9000
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh

!define CLAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\zelk"
!define DESINSTALADOR "desinstalar.exe"

Name "zelk ${VERSION}"
OutFile "${SALIDA}"
InstallDir "$PROGRAMFILES64\zelk"
InstallDirRegKey HKLM "${CLAVE}" "InstallLocation"
BrandingText "zelk ${VERSION}"

!define MUI_ICON "${ICONO}"
!define MUI_UNICON "${ICONO}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelk.exe"
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

Section "zelk"
  !include "${ARCHIVOS}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
  CreateShortcut "$SMPROGRAMS\zelk.lnk" "$INSTDIR\zelk.exe" "" "$INSTDIR\zelk.exe" 0

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
; folder with it.
Section "Uninstall"
  Delete "$SMPROGRAMS\zelk.lnk"
  !include "${QUITAR}"
  Delete "$INSTDIR\${DESINSTALADOR}"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${CLAVE}"
SectionEnd
