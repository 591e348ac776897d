# The Debian package, built by `cpack -G DEB` in a build folder (scripts/package).
set(CPACK_PACKAGE_NAME wykresownik)
set(CPACK_PACKAGE_VENDOR "Wykresownik")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recorder for one analogue channel from a serial adapter")
set(CPACK_PACKAGE_DESCRIPTION
    "Wykresownik records one analogue channel from a measuring adapter on a serial\n"
    "port, draws the live trace, stores recordings as .osr/.osi files, browses them\n"
    "with zoom and two cursors and shows their spectrum. Includes wykresownik-cli\n"
    "and a simulated adapter. The interface is in Polish.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Wykresownik maintainers <maintainers@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own Polish texts for the standard dialogs, and the platform plugins (only recommended by
# Qt GUI) without which the window cannot open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-qpa-plugins")
include(CPack)
