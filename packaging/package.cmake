# What a release holds, for CPack: on Linux a Debian package installing both programs into
# /usr/bin, its dependencies read from the shared libraries they load; on Windows a zip of the
# two programs, the LGPL libraries they load as DLLs, a README for Windows users and the
# licences of everything inside.
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
    install(TARGETS ombra ombra-capture RUNTIME DESTINATION bin)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_SECTION games)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ffmpeg)
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS xvfb)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The OMBRA developers")
    string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "OMBRA plays six timed scenes of animated graphics to an MP3 soundtrack (Ombra.mp3 in\n"
        "the working directory). ombra-capture renders the same production frame by frame\n"
        "on a simulated clock to PNG pictures or, through ffmpeg, to a video.")
endif()
include(CPack)
