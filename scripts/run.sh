#!/usr/bin/env bash
# Installs what is missing, builds, and shows the analysis of an MP3 file
# that the build encoded for itself.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
build/src/cli/mirelune-cli info build/demo/tone.mp3
