# Run at install time: the manual's scripts that Debian's libjs-sphinxdoc carries (doctools.js,
# searchtools.js, jquery.js, underscore.js...) become links to that package's files, as
# dh_sphinxdoc makes them, when the manual is installed where those files are (the prefix /usr
# of the package); any other install keeps its own copies, which a browser reads anywhere.
cmake_policy(VERSION 3.25)
set(paquete /usr/share/javascript/sphinxdoc/1.0)
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR NOT IS_DIRECTORY ${paquete})
  return()
endif()
set(estaticos "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${ZELK_MANUAL_INSTALADO}/_static")
file(GLOB guiones RELATIVE ${estaticos} ${estaticos}/*.js)
file(RELATIVE_PATH hasta ${CMAKE_INSTALL_PREFIX}/${ZELK_MANUAL_INSTALADO}/_static ${paquete})
foreach(guion ${guiones})
  # Only a script that is the package's own, byte for byte: the ones Sphinx fills in for this
  # manual (documentation_options.js, language_data.js for Spanish) stay.
  if(EXISTS ${paquete}/${guion})
    file(REAL_PATH ${paquete}/${guion} original)
    file(SHA256 ${original} suma_paquete)
    file(SHA256 ${estaticos}/${guion} suma_manual)
    if(suma_paquete STREQUAL suma_manual)
      file(REMOVE ${estaticos}/${guion})
      file(CREATE_LINK ${hasta}/${guion} ${estaticos}/${guion} SYMBOLIC)
    endif()
  endif()
endforeach()
