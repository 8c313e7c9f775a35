# Installing Ringwarden: `cmake --install build --prefix /usr` or the Debian package that
# `cpack -G DEB` makes in build/.
#
#   bin/Ringwarden, bin/kestrel32            the program and the stand-in tracker
#   share/ringwarden/Ringwarden.html, WAV/   the help page and the alarm sounds
#   share/ringwarden/ringwarden.svg          the window icon
#   share/applications/ringwarden.desktop,   the desktop menu entries of both programs
#     kestrel32.desktop
#   share/icons/hicolor/scalable/apps/,      their icons (SVG, and PNG at 48, 64, 128, 256 px)
#     share/icons/hicolor/NxN/apps/
#   share/metainfo/*.metainfo.xml            AppStream metainfo of both programs
#   share/man/man1/Ringwarden.1.gz,          the manual pages
#     kestrel32.1.gz
#   share/doc/ringwarden/copyright,          the copyright and licence, the change log
#     changelog.gz
#   share/kestrel32/basemap-50m.k32map       the tracker's offline base map (Natural Earth)
#
# The program finds share/ringwarden from its own folder (support/AppPaths), so the
# relative way from bin to there is compiled in.
set(RINGWARDEN_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/ringwarden)
file(RELATIVE_PATH ringwarden_data_from_bin /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${RINGWARDEN_INSTALL_DATADIR})
target_compile_definitions(ringwarden_support
    PRIVATE RINGWARDEN_DATA_DIR_FROM_BIN="${ringwarden_data_from_bin}")

install(TARGETS Ringwarden RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kestrel32)
    install(TARGETS kestrel32 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The tracker finds its base map the same way from its own folder.
    file(RELATIVE_PATH kestrel32_data_from_bin /prefix/${CMAKE_INSTALL_BINDIR}
         /prefix/${CMAKE_INSTALL_DATADIR}/kestrel32)
    target_compile_definitions(kestrel32_core
        PRIVATE KESTREL32_DATA_DIR_FROM_BIN="${kestrel32_data_from_bin}")
    install(FILES ${CMAKE_SOURCE_DIR}/data/basemap-50m.k32map
            DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrel32)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/data/Ringwarden.html ${CMAKE_SOURCE_DIR}/data/icons/ringwarden.svg
        DESTINATION ${RINGWARDEN_INSTALL_DATADIR})
# The sounds are made at build time into build/bin/WAV.
install(DIRECTORY ${RINGWARDEN_BIN_DIR}/WAV DESTINATION ${RINGWARDEN_INSTALL_DATADIR} OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/data/ringwarden.desktop ${CMAKE_SOURCE_DIR}/data/kestrel32.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/ringwarden.svg ${CMAKE_SOURCE_DIR}/data/icons/kestrel32.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNGs are made from the SVGs by scripts/make-icons.sh and committed.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/icons/hicolor/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor FILES_MATCHING PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/data/metainfo/org.example.ringwarden.Ringwarden.metainfo.xml
              ${CMAKE_SOURCE_DIR}/data/metainfo/org.example.ringwarden.Kestrel32.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Named for the package, not for the project, as Debian wants it.
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ringwarden)

# The manual pages and the Debian change log carry the project's version and are compressed
# without a time stamp, so that the same sources give the same package.
find_program(RINGWARDEN_GZIP gzip REQUIRED)
set(ringwarden_compressed)
foreach(file man/Ringwarden.1 man/kestrel32.1 changelog)
    set(configured ${CMAKE_BINARY_DIR}/packaging/${file})
    configure_file(${CMAKE_SOURCE_DIR}/data/${file} ${configured} @ONLY)
    add_custom_command(
        OUTPUT ${configured}.gz
        COMMAND ${RINGWARDEN_GZIP} -9nkf ${configured}
        DEPENDS ${configured}
        VERBATIM)
    list(APPEND ringwarden_compressed ${configured}.gz)
endforeach()
add_custom_target(ringwarden_packaging ALL DEPENDS ${ringwarden_compressed})
install(FILES ${CMAKE_BINARY_DIR}/packaging/man/Ringwarden.1.gz
              ${CMAKE_BINARY_DIR}/packaging/man/kestrel32.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ringwarden)

# Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ringwarden)
set(CPACK_PACKAGE_VENDOR "The Ringwarden project")
set(CPACK_PACKAGE_CONTACT "The Ringwarden project <ringwarden@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Ringwarden watches the station list of the Kestrel32 tracker and sounds an
alarm when stations come within a range the operator sets. It ships with
kestrel32, the Kestrel32 tracker, which hears stations through APRS-IS or a
KISS TNC and serves them on the session bus; it is set up in its own window.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://ringwarden.example.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins or reached at run time, so the library scan cannot see them: the
# window system and SVG icon plug-ins and the session bus; a sound server is recommended, and
# xdg-open, through which the help page and web links reach the desktop's viewer, and Qt's
# speech-dispatcher plug-in, without which "Speak new stations" has no voice.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, dbus-daemon | dbus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pulseaudio | pipewire-pulse, xdg-utils, qt6-speech-speechd-plugin")
set(CPACK_STRIP_FILES ON)
include(CPack)
