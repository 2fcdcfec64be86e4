#!/usr/bin/env bash
# Installs every Debian package that building, testing and running GloamDrift needs.
# Idempotent and non-interactive; when everything is already installed it touches nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ make
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
    wine64 xvfb xauth x11-utils
    imagemagick ffmpeg fonts-ipafont-gothic
    clang-format clang libclang-rt-14-dev fonts-liberation
    util-linux procps
    nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
    # "install ok installed" only: a removed package leaves its status record behind.
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
    sudo=sudo
else
    sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
