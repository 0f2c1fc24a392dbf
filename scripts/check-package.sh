#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in a configured build folder (build/ or $1) and
# checks it as a user gets it: lintian, the desktop entry and AppStream
# validators, then the programs run from the package unpacked into a scratch
# folder, the window under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
source scripts/source-date-epoch.sh

echo "== Debian package"
cmake --build "$build" --target package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/mirelune_${version}_$(dpkg --print-architecture).deb"
if [[ ! -f $deb ]]; then
    echo "The package $deb was not made." >&2
    exit 1
fi
dpkg-deb --field "$deb" Package Version Depends Recommends Section
if dpkg-deb --field "$deb" Depends | grep -qi lame; then
    echo "The package depends on LAME; the encoder should travel inside the program." >&2
    exit 1
fi

echo "== lintian"
lintian --fail-on error --display-level ">=info" "$deb"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr

echo "== Desktop entry and AppStream metadata"
desktop-file-validate "$usr"/share/applications/*.desktop
bash scripts/validate-metainfo.sh "$usr"/share/metainfo/*.metainfo.xml
for png in "$usr"/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    if ! file "$png" | grep -q "${size/x/ x },"; then
        echo "$png is not $size pixels: $(file -b "$png")" >&2
        exit 1
    fi
done

echo "== mirelune-cli from the package"
"$usr/bin/mirelune-cli" --version
"$usr/bin/mirelune-cli" info "$usr"/share/mirelune/Samples/*.mp3
# The package's own encoder does the work: nothing of LAME's is installed by it.
mkdir "$scratch/reduced"
"$usr/bin/mirelune-cli" reduce -b 64 -o "$scratch/reduced" "$usr"/share/mirelune/Samples

echo "== The window from the package"
# Neither needs a display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/mirelune" --version
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/mirelune" --help >/dev/null
# The user's own settings stay untouched.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
samples=("$usr"/share/mirelune/Samples/*.mp3)
status=0
env -u QT_QPA_PLATFORM xvfb-run -a bash -c '
    "$1" "$2" &
    window=$!
    sleep 4
    if ! kill -0 "$window" 2>/dev/null; then
        wait "$window"
        echo "The window ended by itself, with status $?." >&2
        exit 1
    fi
    kill -TERM "$window"
    wait "$window"
' check-window "$usr/bin/mirelune" "${samples[0]}" 2>"$scratch/window.log" || status=$?
if [[ -s $scratch/window.log ]]; then
    echo "The window wrote:" >&2
    cat "$scratch/window.log" >&2
    if ((status == 0)); then
        status=1
    fi
fi
if ((status != 0)); then
    echo "The window from the package failed (status $status)." >&2
    exit 1
fi
echo "The window started with a file, stayed up, and ended cleanly on SIGTERM."
echo "Package checked: $deb"
