# Installation (cmake --install) in the usual layout and the Debian package (cpack -G DEB).
# The data never goes to the installation: an installed program keeps it in the per-user data folder
# or the one chosen with --data / OMBRISA_DATA.
install(TARGETS ombrisa ombrisa-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/man/ombrisa.1 ${PROJECT_SOURCE_DIR}/data/man/ombrisa-tool.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
# The libraries the program links are computed by dpkg-shlibdeps. Written by hand: what is loaded at run
# time rather than linked: the Qt platform plugins, Qt's Italian translations (standard buttons), the
# GStreamer plugins the camera's pictures go through, the fonts the screens and reports are drawn with;
# and xdg-utils, which opens the guide, the attachments, the e-mail addresses and the exported files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6 (>= 6.4), libqt6multimedia6 (>= 6.4), qt6-qpa-plugins, qt6-translations-l10n, gstreamer1.0-plugins-good, fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
