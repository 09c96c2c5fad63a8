# The drawings are SVG files, rendered at build time into PNGs of fixed sizes by svg_a_png, which
# runs on the machine that builds: the project's own target in a native build; in a cross-build,
# the one exported by a native build of the same sources, whose folder ZELK_ANFITRION names.
if(CMAKE_CROSSCOMPILING)
  set(ZELK_ANFITRION "" CACHE PATH "A native build of zelk, for the tools run during the build")
  if(NOT EXISTS "${ZELK_ANFITRION}/herramientas.cmake")
    message(FATAL_ERROR "ZELK_ANFITRION must name a native build of zelk (svg_a_png built)")
  endif()
  include(${ZELK_ANFITRION}/herramientas.cmake)
  # By its file: a target's name would have the cross-build's emulator put before it.
  set(ZELK_SVG_A_PNG $<TARGET_FILE:anfitrion::svg_a_png>)
  set(ZELK_SVG_A_PNG_DEPENDE ${ZELK_SVG_A_PNG})
else()
  add_subdirectory(tools)
  set(ZELK_SVG_A_PNG svg_a_png)
  set(ZELK_SVG_A_PNG_DEPENDE svg_a_png)
endif()

# Renders `svg` at `medidas` pixels (LADO, ANCHOxALTO, or @N for its own size times N) into the PNG `salida`.
function(zelk_dibujo svg medidas salida)
  add_custom_command(OUTPUT ${salida}
    COMMAND ${ZELK_SVG_A_PNG} ${svg} ${medidas} ${salida}
    DEPENDS ${ZELK_SVG_A_PNG_DEPENDE} ${svg}
    COMMENT "Rendering ${medidas} pixels of ${svg}"
    VERBATIM)
endfunction()

set(ZELK_RECURSOS ${PROJECT_SOURCE_DIR}/ui/comun/recursos)
# The application's icon at 16 pixels is a drawing of its own; every other size comes from the
# 32-pixel one.
function(zelk_icono lado salida)
  if(lado EQUAL 16)
    zelk_dibujo(${ZELK_RECURSOS}/icono-16.svg 16 ${salida})
  else()
    zelk_dibujo(${ZELK_RECURSOS}/icono.svg ${lado} ${salida})
  endif()
endfunction()

# The icon of zelk Estudios, zelk's monitor showing a study: at 16 pixels a drawing of its own too.
function(zelk_icono_estudios lado salida)
  if(lado EQUAL 16)
    zelk_dibujo(${ZELK_RECURSOS}/icono-estudios-16.svg 16 ${salida})
  else()
    zelk_dibujo(${ZELK_RECURSOS}/icono-estudios.svg ${lado} ${salida})
  endif()
endfunction()
