# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cmake --build build --target package` leaves
# build/mirelune_<version>_<arch>.deb. Its dependencies are read from the
# binaries by dpkg-shlibdeps, so they follow whatever the build links; the
# encoder travels inside the program and adds none.
set(MIRELUNE_PACKAGE_MAINTAINER "Mirelune packagers <packagers@mirelune.invalid>" CACHE STRING
    "Maintainer field of the Debian package, as: Name <e-mail>")

# The copyright file names the Debian source packages of the LAME and C
# library versions this build links into the encoder: their corresponding
# source, which the LGPL asks to be offered with the programs.
foreach(part LAME:libmp3lame-dev LIBC:libc6-dev)
    string(REPLACE ":" ";" part ${part})
    list(GET part 0 name)
    list(GET part 1 package)
    execute_process(COMMAND dpkg-query --show
                            "--showformat=\${source:Package}=\${source:Version}" ${package}
                    OUTPUT_VARIABLE MIRELUNE_${name}_SOURCE RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(WARNING "${package} is not installed as a Debian package, so the package's "
                        "copyright file cannot name the corresponding source of what it links")
        set(MIRELUNE_${name}_SOURCE "(not known: ${package} was not a Debian package)")
    endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${CMAKE_BINARY_DIR}/packaging/copyright
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright DESTINATION share/doc/mirelune)

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
# Qt's own translations: with them the standard buttons of the window's boxes
# (Yes, No, Cancel) follow the window's language; without, they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# No qt6-wayland: the window is plain widgets, which XWayland shows as well,
# and the plugin would bring 22 MB of QML and compositor libraries.
if(MIRELUNE_HOMEPAGE_URL)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MIRELUNE_HOMEPAGE_URL})
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

# What only the package needs: the changelog (made from packaging/releases,
# as the AppStream release notes are), the manual pages compressed as Debian
# keeps them, and fully stripped binaries.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog
     CONTENT "${MIRELUNE_CHANGELOG_ENTRIES}" @ONLY)
set(CPACK_MIRELUNE_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog)
set(CPACK_MIRELUNE_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)

include(CPack)
