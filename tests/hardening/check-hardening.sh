#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Our programs are built as Debian hardens a package: position-independent,
# relocations read-only once started (RELRO and BIND_NOW), buffer checks from
# _FORTIFY_SOURCE and the stack protector. The encoder is static and
# position-independent at once: no interpreter, no shared library.
#
#   check-hardening.sh ENCODER PROGRAM...
set -euo pipefail
fail() {
    echo "check-hardening: $1: $2" >&2
    exit 1
}
relocations_read_only() { # FILE
    readelf -lW "$1" | grep -q GNU_RELRO || fail "$1" "no RELRO segment"
    readelf -dW "$1" | grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' ||
        fail "$1" "symbols are bound lazily (no BIND_NOW)"
}
position_independent() { # FILE
    readelf -hW "$1" | grep -Eq 'Type:[[:space:]]+DYN' || fail "$1" "not position-independent"
}

encoder=$1
shift
position_independent "$encoder"
relocations_read_only "$encoder"
readelf -lW "$encoder" | grep -q INTERP && fail "$encoder" "needs a program interpreter"
readelf -dW "$encoder" | grep -q NEEDED && fail "$encoder" "needs shared libraries"

# A program fortifies only the calls whose buffer sizes the compiler knows,
# so one of them without any (the window's few such calls go through Qt) is
# no fault; all of them without any is.
fortified=0
for program in "$@"; do
    position_independent "$program"
    relocations_read_only "$program"
    imports=$(nm -D --undefined-only "$program")
    grep -q ' __stack_chk_fail' <<<"$imports" || fail "$program" "no stack protector"
    fortified=$((fortified + $(grep -Ec ' __[a-z_]+_chk@' <<<"$imports" || true)))
done
if (($# > 0 && fortified == 0)); then
    fail "$*" "no fortified functions (_FORTIFY_SOURCE)"
fi
echo "check-hardening: $encoder and $# programs are hardened"
