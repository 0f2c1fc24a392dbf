#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (or the folder given as $1 with extra CMake options after it).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
source scripts/source-date-epoch.sh
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
