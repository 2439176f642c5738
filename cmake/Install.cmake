# SPDX-License-Identifier: GPL-3.0-or-later
# Where the program, its media and its desktop integration are installed.
#
# On Linux the program goes to libexec and a launcher named brenzo to bin:
# the launcher gives each user a working folder holding the media files and
# starts the program there. On Windows and macOS the program is installed
# with its media files beside it, which is the folder it expects to start in.
include(GNUInstallDirs)

set(BRENZO_MEDIA_FILES
    ${PROJECT_SOURCE_DIR}/media/fondo_blanco.jpg
    ${PROJECT_SOURCE_DIR}/media/fondo_noche.jpg
    ${PROJECT_SOURCE_DIR}/media/fondo_cielo.jpg
    ${PROJECT_SOURCE_DIR}/media/fondo_rojo.jpg
    ${PROJECT_SOURCE_DIR}/media/fondo_verde.jpg
    ${PROJECT_SOURCE_DIR}/media/fondo_amarillo.jpg
    ${PROJECT_SOURCE_DIR}/media/boton_brenzo.gif
    ${PROJECT_SOURCE_DIR}/media/BRENZO.HLP
)

if(UNIX AND NOT APPLE)
    set(BRENZO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/brenzo)
    set(BRENZO_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/brenzo)
    install(TARGETS brenzo RUNTIME DESTINATION ${BRENZO_PROGRAM_DIR})
    install(FILES ${BRENZO_MEDIA_FILES} DESTINATION ${BRENZO_DATA_DIR})

    configure_file(${PROJECT_SOURCE_DIR}/app/brenzo-launcher.sh.in
                   ${PROJECT_BINARY_DIR}/brenzo-launcher @ONLY)
    install(PROGRAMS ${PROJECT_BINARY_DIR}/brenzo-launcher
            DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME brenzo)
    install(FILES ${PROJECT_SOURCE_DIR}/app/brenzo.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 32 48 256)
        install(FILES ${PROJECT_SOURCE_DIR}/wizard/art/brenzo_${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME brenzo.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/wizard/art/brenzo.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    # Software centres list the program from its metainfo, named after its id.
    install(FILES ${PROJECT_SOURCE_DIR}/app/brenzo.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME example.brenzo.brenzo.metainfo.xml)

    # The manual page and the changelog are installed compressed, as Debian
    # expects them; -n leaves the time stamp out, so the package is the same
    # on every build.
    find_program(BRENZO_GZIP gzip REQUIRED)
    set(brenzo_compressed)
    foreach(pair "app/brenzo.1:brenzo.1.gz" "packaging/changelog:changelog.gz")
        string(REPLACE ":" ";" pair "${pair}")
        list(GET pair 0 source)
        list(GET pair 1 compressed)
        string(REGEX REPLACE "\\.gz$" "" plain ${compressed})
        add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${compressed}
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${PROJECT_BINARY_DIR}/${plain}
            COMMAND ${BRENZO_GZIP} -9nf ${PROJECT_BINARY_DIR}/${plain}
            DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
        list(APPEND brenzo_compressed ${PROJECT_BINARY_DIR}/${compressed})
    endforeach()
    add_custom_target(brenzo_compressed_docs ALL DEPENDS ${brenzo_compressed})
    install(FILES ${PROJECT_BINARY_DIR}/brenzo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brenzo)
else()
    install(TARGETS brenzo RUNTIME DESTINATION . BUNDLE DESTINATION .)
    install(FILES ${BRENZO_MEDIA_FILES} DESTINATION .)
endif()
