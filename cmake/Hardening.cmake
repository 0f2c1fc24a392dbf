# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening of all our programs, as Debian's hardening=+all asks of a package:
# the programs parse files from anywhere. Kept in this one place.
#
# _FORTIFY_SOURCE needs the optimiser (without it glibc warns, an error under
# -Werror), so Debug builds go without it. The sanitizer and fuzz builds do
# their own checking and keep none of this. Programs stay position-independent
# (loaded at a random address) as Debian's compilers make them by default;
# CMake's own switch for that would compile the static libraries with -fPIC,
# which costs the analysis time for nothing. The encoder directory applies
# MIRELUNE_HARDENING_COMPILE_OPTIONS and MIRELUNE_HARDENING_LINK_OPTIONS itself,
# because it is the same program in every configuration.
set(MIRELUNE_HARDENING_COMPILE_OPTIONS
    -fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
set(MIRELUNE_HARDENING_LINK_OPTIONS LINKER:-z,relro,-z,now)

if(NOT MIRELUNE_SANITIZE AND NOT MIRELUNE_FUZZ)
    add_compile_options(${MIRELUNE_HARDENING_COMPILE_OPTIONS})
    add_link_options(${MIRELUNE_HARDENING_LINK_OPTIONS})
endif()
