# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a list of two releases and compares the AppStream release notes and
# the changelog made from it with what they must be, byte for byte.
# Run as: cmake -DSOURCE_DIR=<repository> -P ReleasesTest.cmake
set(PROJECT_VERSION 2.0.0)
set(releases_file ${CMAKE_CURRENT_LIST_DIR}/releases-two)
include(${SOURCE_DIR}/packaging/Releases.cmake)

set(expected_metainfo "
    <release version=\"2.0.0\" date=\"2027-03-01\">
      <description>
        <ul>
          <li>Results keep &lt;tags&gt; &amp; pictures, also in files that VBR encoders wrote.</li>
          <li>One line.</li>
        </ul>
      </description>
    </release>
    <release version=\"1.0.0\" date=\"2026-01-31\">
      <description>
        <ul>
          <li>First.</li>
        </ul>
      </description>
    </release>")
set(expected_changelog "mirelune (2.0.0) unstable; urgency=medium

  * Results keep <tags> & pictures, also in files
    that VBR encoders wrote.
  * One line.

 -- @MIRELUNE_PACKAGE_MAINTAINER@  Mon, 01 Mar 2027 00:00:00 +0000

mirelune (1.0.0) unstable; urgency=medium

  * First.

 -- @MIRELUNE_PACKAGE_MAINTAINER@  Sat, 31 Jan 2026 00:00:00 +0000
")
function(expect name expected)
    if(NOT "${MIRELUNE_${name}}" STREQUAL "${expected}")
        message(FATAL_ERROR "MIRELUNE_${name} is\n[${MIRELUNE_${name}}]\nbut should be\n[${expected}]")
    endif()
endfunction()
expect(RELEASE_DATE "2027-03-01")
expect(METAINFO_RELEASES "${expected_metainfo}")
expect(CHANGELOG_ENTRIES "${expected_changelog}")
