# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files, before they are packed. Debian keeps
# manual pages and the changelog compressed, without a time stamp in the
# compressed file so that the same build gives the same package; the
# changelog of a package that is its own upstream (a version without a
# Debian revision) is changelog.gz. Binaries lose the sections a stripped
# Debian binary does not carry.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${root}/share/doc/${CPACK_PACKAGE_NAME})

file(GLOB programs ${root}/bin/*)
foreach(program ${programs})
    execute_process(
        COMMAND ${CPACK_MIRELUNE_STRIP} --remove-section=.comment --remove-section=.note ${program}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(COPY_FILE ${CPACK_MIRELUNE_CHANGELOG} ${doc}/changelog)
file(GLOB pages ${root}/share/man/man*/*.[1-9])
foreach(file ${doc}/changelog ${pages})
    execute_process(COMMAND gzip --best --no-name --force ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
