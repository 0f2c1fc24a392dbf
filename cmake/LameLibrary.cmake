# SPDX-License-Identifier: GPL-3.0-or-later
# LAME's library for the encoder: compiled here from Debian's own source of
# the installed version (fetched into .deps/lame by scripts/install-deps.sh)
# with Debian's flags, but -O3 -ffp-contract=off where Debian has -O2. LAME's
# configure adds no optimisation of its own once a packager gives CFLAGS, so
# Debian's library is plain -O2; this one encodes the same frames in less
# time. No -ffast-math, and no contraction into fused multiply-adds: either
# would change the results. Plain x86-64 code (no -march), so the encoder runs
# on any x86-64 machine. The encoder's own copy is built once more, guided by
# a profile of LAME trained on generated sources (see below), and once again
# for x86-64-v3 processors.
#
# Defines mirelune::mp3lame_headers, the imported target mirelune::mp3lame
# (the samples' LAME) and, with MIRELUNE_LAME_PROFILED, the instrumented and
# the profile-guided builds of it (mirelune::mp3lame_profiled_v3 for
# x86-64-v3). Without the source, a local
# build falls back to Debian's libmp3lame.a and says so; with
# MIRELUNE_REQUIRE_OWN_LAME (the test command) it stops instead.
option(MIRELUNE_REQUIRE_OWN_LAME
       "Stop instead of falling back to Debian's libmp3lame.a when LAME's source is missing" OFF)
set(MIRELUNE_LAME_DEPS_DIR ${PROJECT_SOURCE_DIR}/.deps/lame CACHE PATH
    "Folder holding Debian's lame source (source/) and its version (version)")

execute_process(COMMAND dpkg-query -W -f=\${source:Version} libmp3lame-dev
                OUTPUT_VARIABLE mirelune_lame_installed RESULT_VARIABLE status
                ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
set(mirelune_lame_source ${MIRELUNE_LAME_DEPS_DIR}/source)
set(mirelune_lame_fetched "")
if(EXISTS ${MIRELUNE_LAME_DEPS_DIR}/version)
    file(STRINGS ${MIRELUNE_LAME_DEPS_DIR}/version mirelune_lame_fetched LIMIT_COUNT 1)
endif()

if(NOT EXISTS ${mirelune_lame_source}/configure)
    set(mirelune_lame_missing "there is no LAME source in ${mirelune_lame_source}")
elseif(NOT mirelune_lame_fetched STREQUAL mirelune_lame_installed)
    # The headers and Debian's lame program we compare against are of the
    # installed version; a source of another version would encode otherwise.
    set(mirelune_lame_missing "the LAME source is version '${mirelune_lame_fetched}', \
the installed libmp3lame-dev is '${mirelune_lame_installed}'")
endif()

add_library(mirelune::mp3lame_headers INTERFACE IMPORTED GLOBAL)
set(MIRELUNE_LAME_PROFILED OFF)
if(mirelune_lame_missing)
    if(MIRELUNE_REQUIRE_OWN_LAME)
        message(FATAL_ERROR "Own build of LAME required, but ${mirelune_lame_missing}. "
                            "Run scripts/install-deps.sh to fetch it.")
    endif()
    message(WARNING
        "\n********************************************************************\n"
        "FALLING BACK TO DEBIAN'S libmp3lame.a: ${mirelune_lame_missing}.\n"
        "The encoder will be slower than it should. Run scripts/install-deps.sh.\n"
        "********************************************************************")
    # Said again on every build, not only when CMake runs.
    add_custom_target(mirelune_lame_fallback_warning ALL
        COMMAND ${CMAKE_COMMAND} -E echo
                "WARNING: the encoder uses Debian's libmp3lame.a: ${mirelune_lame_missing}"
        VERBATIM)
    find_path(MIRELUNE_LAME_INCLUDE_DIR lame/lame.h REQUIRED)
    find_library(MIRELUNE_LAME_STATIC NAMES libmp3lame.a REQUIRED)
    set_target_properties(mirelune::mp3lame_headers PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${MIRELUNE_LAME_INCLUDE_DIR})
    add_library(mirelune::mp3lame STATIC IMPORTED GLOBAL)
    set_target_properties(mirelune::mp3lame PROPERTIES
        IMPORTED_LOCATION ${MIRELUNE_LAME_STATIC}
        INTERFACE_INCLUDE_DIRECTORIES ${MIRELUNE_LAME_INCLUDE_DIR}
        INTERFACE_LINK_LIBRARIES m)
    return()
endif()
message(STATUS "LAME: own build of Debian's lame ${mirelune_lame_installed} source")

# Debian's flags for its lame package (debian/rules: hardening=+all and
# --no-undefined), asked of dpkg-buildflags in the source folder as a
# package build would.
find_program(MIRELUNE_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
find_program(MIRELUNE_LAME_CC gcc REQUIRED)
foreach(kind CFLAGS CPPFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                DEB_LDFLAGS_MAINT_APPEND=-Wl,--no-undefined
                ${MIRELUNE_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${mirelune_lame_source}
        OUTPUT_VARIABLE mirelune_lame_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(REGEX REPLACE "(^| )-O2( |$)" "\\1-O3 -ffp-contract=off\\2"
       mirelune_lame_CFLAGS "${mirelune_lame_CFLAGS}")
if(NOT mirelune_lame_CFLAGS MATCHES "-O3 -ffp-contract=off")
    message(FATAL_ERROR "dpkg-buildflags gave no -O2 to replace: ${mirelune_lame_CFLAGS}")
endif()
option(MIRELUNE_LAME_LTO "Compile LAME for link-time optimisation with the encoder" OFF)
set(mirelune_lame_tools "")
if(MIRELUNE_LAME_LTO)
    # Fat objects, so builds without link-time optimisation link them too.
    string(APPEND mirelune_lame_CFLAGS " -flto=auto -ffat-lto-objects")
    set(mirelune_lame_tools AR=gcc-ar RANLIB=gcc-ranlib NM=gcc-nm)
endif()
include(ExternalProject)
include(ProcessorCount)
ProcessorCount(mirelune_jobs)
# The code includes <lame/lame.h>, as Debian installs it.
configure_file(${mirelune_lame_source}/include/lame.h
               ${CMAKE_CURRENT_BINARY_DIR}/lame-include/lame/lame.h COPYONLY)
set_target_properties(mirelune::mp3lame_headers PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_CURRENT_BINARY_DIR}/lame-include)

# mirelune_lame(<target> <folder> <extra CFLAGS> [<file the build depends on>])
# One build of LAME's library from Debian's configure options, less the
# program (we build only the library, decoder included: Mp3Decoder uses
# hip_*), as the imported target <target>.
function(mirelune_lame target folder extra)
    # dpkg-buildflags maps the source folder; the build folder's path must
    # not reach the objects either, or two builds in different folders
    # differ. One folder per version, so a newer source is configured afresh.
    set(build ${CMAKE_CURRENT_BINARY_DIR}/${folder}-${mirelune_lame_installed})
    string(REPLACE "@BUILD@" "${build}" extra "${extra}")
    # dpkg-buildflags maps the source folder as the kernel names it; make
    # names it by the path given, which differs where .deps is a link.
    set(cflags "${mirelune_lame_CFLAGS} -ffile-prefix-map=${mirelune_lame_source}=.")
    string(APPEND cflags " -ffile-prefix-map=${build}=. ${extra}")
    set(archive ${build}/libmp3lame/.libs/libmp3lame.a)
    string(MAKE_C_IDENTIFIER "${target}" project)
    ExternalProject_Add(${project}
        SOURCE_DIR ${mirelune_lame_source}
        BINARY_DIR ${build}
        CONFIGURE_COMMAND ${mirelune_lame_source}/configure --quiet --disable-rpath --enable-nasm
            --disable-frontend --disable-shared --disable-dependency-tracking
            CC=${MIRELUNE_LAME_CC} "CFLAGS=${cflags}"
            "CPPFLAGS=${mirelune_lame_CPPFLAGS}" "LDFLAGS=${mirelune_lame_LDFLAGS}"
            ${mirelune_lame_tools}
        BUILD_COMMAND make -s -j${mirelune_jobs} -C mpglib
              COMMAND make -s -j${mirelune_jobs} -C libmp3lame
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${archive}
        LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
    if(ARGC GREATER 3)
        # A new profile compiles every object again.
        ExternalProject_Add_Step(${project} reprofile
            COMMAND make -s -C mpglib clean COMMAND make -s -C libmp3lame clean
            WORKING_DIRECTORY ${build}
            DEPENDEES configure DEPENDERS build DEPENDS ${ARGV3})
    endif()
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION ${archive}
        INTERFACE_LINK_LIBRARIES "mirelune::mp3lame_headers;m")
    add_dependencies(${target} ${project})
endfunction()

# The plain build makes the samples and the training set; the encoder gets
# the build that the training's profile guides (src/encoder trains it). The
# objects name their profile files by their path inside their own build
# folder, so both builds meet at the same files. Single-threaded counter
# updates, serial training and a seed for each object keep the profile, and
# so the code, the same from build to build on one machine; the profile's
# folder stays out of the debug information. glibc picks its
# maths routines by processor, so another machine may count otherwise.
set(MIRELUNE_LAME_PROFILED ON)
set(MIRELUNE_LAME_PROFILE_DIR ${CMAKE_CURRENT_BINARY_DIR}/lame-profile)
set(MIRELUNE_LAME_PROFILE_STAMP ${CMAKE_CURRENT_BINARY_DIR}/lame-profile.stamp)
set(mirelune_lame_profile_flags
    "-fprofile-dir=${MIRELUNE_LAME_PROFILE_DIR} -fprofile-prefix-path=@BUILD@ -frandom-seed=$@")
mirelune_lame(mirelune::mp3lame lame "")
mirelune_lame(mirelune::mp3lame_instrumented lame-instrumented
              "-fprofile-generate -fprofile-update=single ${mirelune_lame_profile_flags}")
set_property(TARGET mirelune::mp3lame_instrumented APPEND PROPERTY
             INTERFACE_LINK_LIBRARIES -fprofile-generate)
mirelune_lame(mirelune::mp3lame_profiled lame-profiled
              "-fprofile-use -Wno-missing-profile -gno-record-gcc-switches ${mirelune_lame_profile_flags}"
              ${MIRELUNE_LAME_PROFILE_STAMP})

# The same two builds for processors of the x86-64-v3 level (AVX2, BMI2,
# MOVBE; Haswell and later): the encoder embedded beside the baseline one for
# them. The level allows fused multiply-adds, but -ffp-contract=off still
# keeps them out, so the frames stay those of the baseline build. The plain
# one is for measuring only. The profile is the baseline build's: the
# objects find it by the same names.
if(MIRELUNE_BENCH)
    mirelune_lame(mirelune::mp3lame_v3 lame-v3 "-march=x86-64-v3")
endif()
mirelune_lame(mirelune::mp3lame_profiled_v3 lame-profiled-v3
              "-march=x86-64-v3 -fprofile-use -Wno-missing-profile -gno-record-gcc-switches ${mirelune_lame_profile_flags}"
              ${MIRELUNE_LAME_PROFILE_STAMP})
