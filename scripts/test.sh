#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then builds and runs every test: a bounded fuzz
# run of the MP3 analysis, the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the whole suite in an ordinary build, and the
# Debian package made from that build, checked as a user gets it and built
# again in other folders to the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
# The encoder must be built on our own build of LAME: no quiet fallback here.
own_lame=-DMIRELUNE_REQUIRE_OWN_LAME=ON

echo "== Every source file names its licence"
scripts/check-spdx.sh

echo "== Fuzzing the MP3 analysis (clang, libFuzzer, ASan + UBSan)"
CC=clang CXX=clang++ scripts/build.sh build-fuzz -DMIRELUNE_FUZZ=ON
(cd build-fuzz && ctest --output-on-failure)

echo "== Tests under AddressSanitizer + UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DMIRELUNE_SANITIZE=ON -DMIRELUNE_BENCH=OFF "$own_lame"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$jobs")

echo "== Tests"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$own_lame"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== The embedded encoder needs nothing from the system and writes lame's audio frames"
bash scripts/check-encoder.sh build

scripts/check-package.sh build

echo "== The package is the same when built again elsewhere"
scripts/check-reproducible.sh build
