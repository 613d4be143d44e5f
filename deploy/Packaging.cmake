# The Debian package, built by CPack from the install rules (cpack -G DEB in the
# build folder, or scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME selvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Etiquetas de código de barras com preços para farmácias de manipulação")
# Debian's extended description: lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "Imprime etiquetas com código de barras e preço dos produtos prontos da suíte\nBoticon, em impressoras térmicas EPL2 ou ZPL, ou em folhas de etiquetas\nadesivas (A4, A5, Carta). Traz as páginas de manual e os guias em português.")
set(CPACK_PACKAGE_CONTACT "Selvar <suporte@selvar.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# dpkg-shlibdeps finds the libraries the programs link; what they load at run
# time it cannot see: Qt's Firebird driver and the Firebird client behind it,
# the platform plugins a window needs, and Qt's own words in Portuguese (the
# standard buttons and dialogs), read from their .qm files at start.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Reports ask for "Arial": a font with its metrics lays the labels out as on the
# suite's Windows stations, whatever else fontconfig would offer in its place.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-ibase, libfbclient2, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2 | fonts-croscore")
# The embedded engine serves a pharmacy with one counter and no server; CUPS's
# lp sends labels to a queue.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "firebird3.0-server-core, cups-client, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, firebird3.0-server")
include(CPack)
