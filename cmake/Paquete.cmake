# The Debian package: library dependencies from dpkg-shlibdeps, plus what it cannot see: Qt's
# platform plugins, which are loaded at run time, the font the window is laid out with, and Qt's
# Spanish texts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The zelk team <zelk@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Steady state of a monopolar line-commutated HVDC link")
# Lines of the long description stay within 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "zelk calculates the firing, extinction and overlap angles, the DC voltage,\n\
the AC currents and the active and reactive powers at both ends of an HVDC\n\
link. zelk Estudios studies the link in a window: results as the data are\n\
typed, also under its controls, sweeps with plots and tables, the datum that\n\
gives a result, and the DC lines of PSS/E cases. zelk-calc gives the same\n\
results on the command line, and the Python module zelk gives them to scripts\n\
and notebooks.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The manual's scripts are links to those of Debian's JavaScript packages (doc/), as dh_sphinxdoc
# makes them: 5.2 is the oldest libjs-sphinxdoc whose doctools.js and searchtools.js suit Sphinx 5.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-dejavu-core, qt6-translations-l10n, libjs-sphinxdoc (>= 5.2)")
# Only the Python module needs python3, and NumPy for its arrays; the programs never do.
if(ZELK_PYTHON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${ZELK_PYTHON_RECOMENDADOS}")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-pandas, python3-matplotlib")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
      ${PROJECT_SOURCE_DIR}/data/debian/postinst ${PROJECT_SOURCE_DIR}/data/debian/prerm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
