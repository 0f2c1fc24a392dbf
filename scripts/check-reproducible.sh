#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package a second time, from a copy of the source in
# another folder, and checks that it is the same bytes as the package in the
# given build folder (build/ or $1), which scripts/check-package.sh made.
# The copy's build folder lies inside it as build/ lies in the checkout:
# moc's generated files reach the sources by relative paths, which the debug
# information keeps. The second build leaves out the tests and benchmarks,
# which the package does not carry, to keep its cost down.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
source scripts/source-date-epoch.sh

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
name=mirelune_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $build/$name ]]; then
    echo "$build/$name is missing: build the package there first." >&2
    exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# What the build reads: the files git knows or would add, and the LAME
# source that scripts/install-deps.sh keeps in .deps/ if it is there.
mkdir "$scratch/source"
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --create --file=- | tar --extract --file=- --directory="$scratch/source"
if [[ -d .deps ]]; then
    cp -a .deps "$scratch/source/"
fi
cmake -S "$scratch/source" -B "$scratch/source/another-build" -G Ninja \
    -DCMAKE_BUILD_TYPE="$type" -DMIRELUNE_TESTS=OFF -DMIRELUNE_BENCH=OFF >/dev/null
cmake --build "$scratch/source/another-build" --target package >/dev/null

if cmp "$build/$name" "$scratch/source/another-build/$name"; then
    echo "Two builds in different folders gave the same package: $name"
    exit 0
fi
echo "Two builds of the same source gave different packages; the files that differ:" >&2
for dir in "$build" "$scratch/source/another-build"; do
    mkdir -p "$scratch/unpacked/${dir##*/}"
    dpkg-deb -R "$dir/$name" "$scratch/unpacked/${dir##*/}"
done
diff -rq "$scratch/unpacked/${build##*/}" "$scratch/unpacked/another-build" >&2 || true
exit 1
