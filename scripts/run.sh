#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and opens the Mirelune window. Without a
# display (no DISPLAY or WAYLAND_DISPLAY, as over plain SSH) it says so and
# shows the command-line analysis of the sample files the build encoded instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec build/src/app/mirelune
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window"
echo "cannot open here. Run build/src/app/mirelune from a desktop session."
echo "Meanwhile, the command-line analysis of the sample files:"
build/src/cli/mirelune-cli info build/src/app/Samples/*.mp3
