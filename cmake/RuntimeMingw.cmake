# The folders of MinGW's C++ runtime DLLs (libstdc++, winpthread), as the cross compiler finds
# them: what a Windows program of this build loads besides Qt and the system.
function(zelk_carpetas_runtime_mingw variable)
  set(carpetas)
  foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE ruta OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    get_filename_component(ruta ${ruta} DIRECTORY)
    get_filename_component(ruta ${ruta} REALPATH)
    list(APPEND carpetas ${ruta})
  endforeach()
  set(${variable} ${carpetas} PARENT_SCOPE)
endfunction()
