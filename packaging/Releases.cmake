# SPDX-License-Identifier: GPL-3.0-or-later
# Reads packaging/releases, the one list of releases, and sets:
#   MIRELUNE_RELEASE_DATE      the newest release's date (YYYY-MM-DD), which
#                              must be the project's version;
#   MIRELUNE_METAINFO_RELEASES the AppStream <release> elements;
#   MIRELUNE_CHANGELOG_ENTRIES the Debian changelog, naming its maintainer as
#                              @MIRELUNE_PACKAGE_MAINTAINER@ for string(CONFIGURE).
# (A test names another file as releases_file.)
if(NOT releases_file)
    set(releases_file ${CMAKE_CURRENT_LIST_DIR}/releases)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${releases_file})
endif()
file(STRINGS ${releases_file} release_lines)

set(MIRELUNE_RELEASE_DATE "")
set(MIRELUNE_METAINFO_RELEASES "")
set(MIRELUNE_CHANGELOG_ENTRIES "")
set(release_open FALSE)
set(change_open FALSE)

# Ends the change and the release being read, if any.
macro(mirelune_close_change)
    if(change_open)
        string(APPEND MIRELUNE_METAINFO_RELEASES "</li>")
        set(change_open FALSE)
    endif()
endmacro()
macro(mirelune_close_release)
    mirelune_close_change()
    if(release_open)
        if(NOT release_has_changes)
            message(FATAL_ERROR "${releases_file}: the release ${version} lists no change")
        endif()
        string(APPEND MIRELUNE_METAINFO_RELEASES
               "\n        </ul>\n      </description>\n    </release>")
        string(APPEND MIRELUNE_CHANGELOG_ENTRIES
               "\n -- @MIRELUNE_PACKAGE_MAINTAINER@  ${release_changelog_date}\n")
        set(release_open FALSE)
    endif()
endmacro()

foreach(line IN LISTS release_lines)
    if(line MATCHES "^#")
        continue()
    endif()
    string(REPLACE "&" "&amp;" text "${line}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    if(line MATCHES "^([0-9][0-9.]*) ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
        set(next_version ${CMAKE_MATCH_1})
        set(date ${CMAKE_MATCH_2})
        mirelune_close_release()
        set(version ${next_version})
        if(NOT MIRELUNE_RELEASE_DATE)
            if(NOT version VERSION_EQUAL PROJECT_VERSION)
                message(FATAL_ERROR "${releases_file}: the newest release is ${version}, "
                                    "but the project's version is ${PROJECT_VERSION}")
            endif()
            set(MIRELUNE_RELEASE_DATE ${date})
        elseif(MIRELUNE_CHANGELOG_ENTRIES)
            string(APPEND MIRELUNE_CHANGELOG_ENTRIES "\n")
        endif()
        execute_process(COMMAND date --utc --rfc-email --date ${date}
                        OUTPUT_VARIABLE release_changelog_date
                        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        string(APPEND MIRELUNE_METAINFO_RELEASES
               "\n    <release version=\"${version}\" date=\"${date}\">"
               "\n      <description>\n        <ul>")
        string(APPEND MIRELUNE_CHANGELOG_ENTRIES
               "mirelune (${version}) unstable; urgency=medium\n\n")
        set(release_open TRUE)
        set(release_has_changes FALSE)
    elseif(release_open AND line MATCHES "^  \\* ")
        mirelune_close_change()
        string(SUBSTRING "${text}" 4 -1 text)
        string(APPEND MIRELUNE_METAINFO_RELEASES "\n          <li>${text}")
        string(APPEND MIRELUNE_CHANGELOG_ENTRIES "${line}\n")
        set(change_open TRUE)
        set(release_has_changes TRUE)
    elseif(change_open AND line MATCHES "^    [^ ]")
        string(SUBSTRING "${text}" 4 -1 text)
        string(APPEND MIRELUNE_METAINFO_RELEASES " ${text}")
        string(APPEND MIRELUNE_CHANGELOG_ENTRIES "${line}\n")
    else()
        message(FATAL_ERROR "${releases_file}: cannot read the line \"${line}\": expected "
                            "\"VERSION YYYY-MM-DD\", \"  * change\" or its continuation")
    endif()
endforeach()
mirelune_close_release()
if(NOT MIRELUNE_RELEASE_DATE)
    message(FATAL_ERROR "${releases_file} names no release")
endif()
