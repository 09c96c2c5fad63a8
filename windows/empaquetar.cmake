# Installs the Windows build into a folder of its own, strips it, zips it and makes the installer
# from it. Run by the target zelk_paquete with the variables it passes.
cmake_policy(VERSION 3.25)
set(carpeta ${TRABAJO}/${NOMBRE})
file(REMOVE_RECURSE ${TRABAJO})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${CONSTRUCCION} --prefix ${carpeta}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE binarios ${carpeta}/*.exe ${carpeta}/*.dll)
foreach(binario ${binarios})
  execute_process(COMMAND ${STRIP} --strip-unneeded ${binario} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# The licences as Notepad reads them: CRLF line ends and the UTF-8 mark; the LEEME is also the
# installer's licence page.
string(ASCII 239 187 191 marca)
file(GLOB textos ${carpeta}/licencias/*.txt)
foreach(texto ${textos})
  file(READ ${texto} contenido)
  string(REGEX REPLACE "^${marca}" "" contenido "${contenido}")
  string(REPLACE "\r\n" "\n" contenido "${contenido}")
  string(REPLACE "\n" "\r\n" contenido "${contenido}")
  file(WRITE ${texto} "${marca}${contenido}")
endforeach()

file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${NOMBRE}
                WORKING_DIRECTORY ${TRABAJO} COMMAND_ERROR_IS_FATAL ANY)

# The installer installs every file of the folder, and its uninstaller removes exactly those,
# then the folders that are left empty, deepest first.
file(GLOB_RECURSE archivos LIST_DIRECTORIES false RELATIVE ${carpeta} ${carpeta}/*)
list(SORT archivos)
set(instalar "")
set(quitar "")
set(subcarpetas "")
set(anterior "-")
set(kb 0)
foreach(archivo ${archivos})
  get_filename_component(sub ${archivo} DIRECTORY)
  string(REPLACE "/" "\\" subWindows "${sub}")
  string(REPLACE "/" "\\" archivoWindows "${archivo}")
  if(NOT sub STREQUAL anterior)
    if(sub STREQUAL "")
      string(APPEND instalar "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND instalar "SetOutPath \"$INSTDIR\\${subWindows}\"\n")
      list(APPEND subcarpetas ${subWindows})
    endif()
    set(anterior "${sub}")
  endif()
  string(APPEND instalar "File \"${carpeta}/${archivo}\"\n")
  string(APPEND quitar "Delete \"$INSTDIR\\${archivoWindows}\"\n")
  file(SIZE ${carpeta}/${archivo} bytes)
  math(EXPR kb "${kb} + (${bytes} + 1023) / 1024")
endforeach()
list(REMOVE_DUPLICATES subcarpetas)
list(SORT subcarpetas ORDER DESCENDING)
foreach(sub ${subcarpetas})
  string(APPEND quitar "RMDir \"$INSTDIR\\${sub}\"\n")
endforeach()
file(WRITE ${TRABAJO}/instalar.nsh "${instalar}")
file(WRITE ${TRABAJO}/quitar.nsh "${quitar}")

string(REPLACE "/" "\\" manual "${MANUAL}")
execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8
  -DVERSION=${VERSION} -DICONO=${ICONO} -DSALIDA=${INSTALADOR} -DTAMANO=${kb} -DMANUAL=${manual}
  -DLICENCIA=${carpeta}/licencias/LEEME.txt
  -DARCHIVOS=${TRABAJO}/instalar.nsh -DQUITAR=${TRABAJO}/quitar.nsh ${NSI}
  COMMAND_ERROR_IS_FATAL ANY)
