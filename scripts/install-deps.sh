#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing Mirelune needs on Debian 12.
# Safe to run again: only missing packages are fetched.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libmp3lame-dev lame
    libgtest-dev libgmock-dev parallel
    clang libclang-rt-14-dev
    xvfb xauth openbox imagemagick xdotool python3-pyatspi at-spi2-core
    librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils
    exfat-fuse exfatprogs fusefat dosfstools fuse3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's own source of LAME, at the version of the installed library, which
# the build compiles into the encoder with stronger optimisation. The deb-src
# entries are derived from the machine's own Debian sources and kept in a
# private apt folder, so the machine's apt setup stays as it was; apt checks
# the archive's signature and the files' checksums. Kept in .deps/ (ignored by
# git). When this fails, a local build falls back to Debian's libmp3lame.a
# and says so; the test command refuses to.
fetch_lame_source() {
    local root deps version apt_dir
    root=$(cd "$(dirname "$0")/.." && pwd)
    deps=$root/.deps/lame
    version=$(dpkg-query -W -f='${source:Version}' libmp3lame-dev)
    if [[ -f $deps/version && $(<"$deps/version") == "$version" && -d $deps/source ]]; then
        return 0
    fi
    echo "Fetching Debian's lame $version source into .deps/lame"
    apt_dir=$(mktemp -d)
    fetch_into "$apt_dir" "$version" &&
        rm -rf "$deps" && mkdir -p "$deps" &&
        mv "$apt_dir"/fetched/lame-*/ "$deps/source" &&
        echo "$version" >"$deps/version"
    local status=$?
    rm -rf "$apt_dir"
    return $status
}
fetch_into() { # PRIVATE-APT-FOLDER VERSION
    local apt_dir=$1 version=$2 stanzas
    mkdir -p "$apt_dir/sources.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" \
        "$apt_dir/fetched"
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
        # Every stanza that serves binary packages, asked for sources instead.
        stanzas=$(awk 'BEGIN { RS = ""; ORS = "\n\n" }
                       /(^|\n)Types:[^\n]*deb/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' \
            /etc/apt/sources.list.d/debian.sources)
        printf '%s\n' "$stanzas" >"$apt_dir/sources.d/debian-src.sources"
    else
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list \
            >"$apt_dir/sources.d/debian-src.list"
    fi
    local apt=(apt-get -qq -o Dir::Etc::SourceList=/dev/null
        -o "Dir::Etc::SourceParts=$apt_dir/sources.d" -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=$(id -un)")
    "${apt[@]}" update &&
        (cd "$apt_dir/fetched" && "${apt[@]}" source "lame=$version" >/dev/null)
}
if ! fetch_lame_source; then
    cat >&2 <<'WARN'
********************************************************************************
* Debian's lame source could not be fetched: a local build falls back to       *
* Debian's libmp3lame.a (slower encoder), and scripts/test.sh will refuse it.  *
********************************************************************************
WARN
fi
