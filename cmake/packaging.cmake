# Installation (cmake --install) in the usual layout and the Debian package (cpack -G DEB).
# The data never goes to the installation: an installed program keeps it in the per-user data folder
# or the one chosen with --data / OMBRISA_DATA.
install(TARGETS ombrisa ombrisa-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ombrisa)
set(CPACK_PACKAGE_VENDOR Ombrisa)
set(CPACK_PACKAGE_CONTACT "Ombrisa <info@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Archivio clienti, registro chiamate e collaboratori")
set(CPACK_PACKAGE_DESCRIPTION "Programma per l'ufficio che lavora al telefono con i propri clienti e con una\n squadra di collaboratori: archivio clienti, registro chiamate, collaboratori e ore lavorate.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com)
# Debian 12's Qt 6.4 runtime: the libraries the program links, the platform and image plugins, Qt's
# Italian translations (standard buttons) and the fonts the screens and reports are drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6multimedia6 (>= 6.4), libqt6multimediawidgets6 (>= 6.4), libqt6charts6 (>= 6.4), qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core, fonts-liberation, libc6, libstdc++6")
include(CPack)
