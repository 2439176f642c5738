# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `make package` gives brenzo_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenzo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brenzo Software")
set(CPACK_PACKAGE_CONTACT "Brenzo Software <soporte@brenzo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Asistente para crear páginas WEB personales")
set(CPACK_PACKAGE_DESCRIPTION
    "Brenzo builds a one-page personal home page through a ten-page wizard\n"
    "in Spanish and publishes it on a web host by FTP.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brenzo.example/")
# The Qt libraries are found from the program itself; the platform plugins,
# the Spanish texts of Qt's own buttons and the fonts are not linked, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
# The package's program is stripped; the build keeps its own copy with the
# debugging information, for reading a crash report.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
