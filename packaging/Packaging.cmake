# The launcher entry and its icon, and the Debian package of the whole installation: both
# programs (bin/), the installation data (share/tepa/data), the entry and the icon. Each program
# and the data folder carry their own install() rule.
#
#   cmake --build BUILD --target package     (or: cpack --config BUILD/CPackConfig.cmake)
#
# The programs find their data relative to their own folder, so the package works wherever it
# is unpacked, whatever prefix the build was configured with.

install(FILES ${CMAKE_CURRENT_LIST_DIR}/orva-tepa.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/orva-tepa.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(TEPA_PACKAGE_MAINTAINER "TEPA maintainers <tepa@example.org>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tepa)
set(CPACK_PACKAGE_VENDOR "Orva")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TEPA_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design tool for water-fed room convectors")
set(CPACK_PACKAGE_DESCRIPTION "ORVA TEPA lays out the heating and cooling convectors of a room: for
every entry it computes output, water mass flow, pressure drop, sound
level, the admissible ranges and the residual demand of the room. It keeps
one project file per room and prints the convector list and the
calculation data.

The package holds the application orva-tepa, the command-line companion
tepa and the product data both of them read.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TEPA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The printouts are laid out for DejaVu Sans and embed it in their PDFs; the windows name Verdana
# and Courier New, which fall back to it. Without any font installed Qt draws no text.
set(TEPA_FONT_PACKAGE "fonts-dejavu-core")

# The exact run-time libraries and their versions come from dpkg-shlibdeps (package dpkg-dev);
# without it, the Qt 6 libraries of Debian 12 the programs link are named by hand.
# Qt's own dialog texts (buttons, file dialogs) in German come from Qt's translations, which no
# library links: named always, the found libraries are added to it.
find_program(TEPA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TEPA_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${TEPA_FONT_PACKAGE}, qt6-translations-l10n")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), ${TEPA_FONT_PACKAGE}, qt6-translations-l10n")
endif()

include(CPack)
