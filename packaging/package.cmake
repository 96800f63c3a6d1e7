# What a release holds, for CPack: on Linux a Debian package installing both programs into
# /usr/games with their manual pages, a menu entry, its icon, the copyright and the changelog,
# its dependencies read from the shared libraries they load; on Windows a zip of the two
# programs, the LGPL libraries they load as DLLs, a README for Windows users and the licences of
# everything inside.
set(CPACK_PACKAGE_NAME ombra)
set(CPACK_PACKAGE_VENDOR OMBRA)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual production and its offline renderer")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    install(TARGETS ombra ombra-capture RUNTIME DESTINATION .)
    install(FILES ${OMBRA_WINDOWS_PREFIX}/bin/OpenAL32.dll ${OMBRA_WINDOWS_PREFIX}/bin/libmpg123.dll
        DESTINATION .)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/README-windows.txt DESTINATION . RENAME README.txt)
    install(DIRECTORY ${OMBRA_WINDOWS_PREFIX}/licences/ DESTINATION licences)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME ombra-${PROJECT_VERSION}-windows-x64)
else()
    # The owner's facts, set through scripts/release.sh; the defaults make a well-formed package.
    set(OMBRA_MAINTAINER "OMBRA developers <ombra@example.org>" CACHE STRING
        "The package's Maintainer: Name <address>")
    set(OMBRA_HOMEPAGE "" CACHE STRING "The package's Homepage; none when empty")

    install(TARGETS ombra ombra-capture RUNTIME DESTINATION games)
    install(FILES packaging/ombra.desktop DESTINATION share/applications)
    foreach(size 48 128 256)
        install(FILES packaging/icons/ombra-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ombra.png)
    endforeach()
    install(FILES packaging/copyright DESTINATION share/doc/ombra)

    # Debian wants the manual pages and the changelog compressed to the full, without a time stamp.
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/packaging)
    configure_file(packaging/changelog ${compressed}/changelog @ONLY)
    foreach(file man/ombra.6 man/ombra-capture.1)
        configure_file(packaging/${file} ${compressed}/${file} COPYONLY)
    endforeach()
    foreach(file changelog man/ombra.6 man/ombra-capture.1)
        execute_process(COMMAND gzip -9nf ${compressed}/${file} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    install(FILES ${compressed}/changelog.gz DESTINATION share/doc/ombra)
    install(FILES ${compressed}/man/ombra.6.gz DESTINATION share/man/man6)
    install(FILES ${compressed}/man/ombra-capture.1.gz DESTINATION share/man/man1)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_SECTION games)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ffmpeg)
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS xvfb)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${OMBRA_MAINTAINER})
    if(OMBRA_HOMEPAGE)
        set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${OMBRA_HOMEPAGE})
    endif()
    string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "OMBRA plays six timed scenes of animated graphics to an MP3\n"
        "soundtrack, Ombra.mp3, which it looks for in the working directory,\n"
        "in ~/.local/share/ombra and in /usr/share/games/ombra. ombra-capture\n"
        "renders the same production frame by frame on a simulated clock to\n"
        "PNG pictures or, through ffmpeg, to a video.")
endif()
include(CPack)
