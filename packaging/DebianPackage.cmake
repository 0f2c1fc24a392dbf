# The Debian package: `cmake --build build --target package` leaves
# build/mirelune_<version>_<arch>.deb. Its dependencies are read from the
# binaries by dpkg-shlibdeps, so they follow whatever the build links; the
# encoder travels inside the program and adds none.
set(MIRELUNE_PACKAGE_MAINTAINER "Mirelune packagers <packagers@mirelune.invalid>" CACHE STRING
    "Maintainer field of the Debian package, as: Name <e-mail>")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION share/doc/mirelune)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirelune)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${MIRELUNE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MIRELUNE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws windows on Wayland natively with it, and through XWayland without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
if(MIRELUNE_HOME_PAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MIRELUNE_HOME_PAGE})
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make MP3 files smaller by re-encoding them")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mirelune re-encodes MP3 files at a lower constant bitrate, so that a music\n"
    "collection takes less room. A window lists the files, added with the file\n"
    "dialog, by scanning a folder tree or by dropping files and folders, with\n"
    "each file's bitrate; the results go to a chosen folder or beside their\n"
    "originals, which are never changed.\n"
    "\n"
    "The command-line tool mirelune-cli describes MP3 files and reduces whole\n"
    "folder trees without a display, running an encoder on every core.\n"
    "\n"
    "The encoder, built on the LAME library, comes inside the program.")
set(CPACK_STRIP_FILES ON)

# What only the package needs: the changelog, the manual pages compressed as
# Debian keeps them, and fully stripped binaries.
execute_process(COMMAND date --utc --rfc-email --date ${MIRELUNE_RELEASE_DATE}
                OUTPUT_VARIABLE MIRELUNE_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in
               ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(CPACK_MIRELUNE_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog)
set(CPACK_MIRELUNE_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)

include(CPack)
