#!/usr/bin/env bash
# Installs every Debian package that building, testing and running GloamDrift needs.
# Idempotent and non-interactive; when everything is already installed it touches nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ make
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
    wine64 xvfb xauth x11-utils
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    imagemagick ffmpeg fonts-ipafont-gothic
    clang-format clang libclang-rt-14-dev fonts-liberation
    util-linux procps
)

# 32-bit Wine runs the shipped i686 GloamDrift.scr. Installing it adds the i386 architecture.
# Debian keeps the amd64 and i386 builds of a shared library at one version, so apt may upgrade
# some amd64 libraries to the archive's current version along with it.
packages+=(wine32:i386)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_i386=1
else
    need_i386=0
fi

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
if ((need_i386)); then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
