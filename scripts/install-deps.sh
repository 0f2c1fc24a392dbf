#!/usr/bin/env bash
# Installs what building, running and testing Mirelune needs on Debian 12.
# Safe to run again: only missing packages are fetched.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libmp3lame-dev lame
    libgtest-dev libgmock-dev parallel
    clang libclang-rt-14-dev
    xvfb xauth
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
