#!/usr/bin/env bash
# Installs every Debian package that building, testing and running GloamDrift needs, and makes
# sure this machine can run 32-bit programs. Idempotent and non-interactive; when everything is
# already in place it touches nothing.
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
    xscreensaver-data-extra linux-perf
    nsis zip unzip osslsigncode openssl
    shellcheck debootstrap xdotool
)

# 32-bit Wine runs the shipped i686 GloamDrift.scr; its preloader reserves the address ranges
# Wine needs before anything else is loaded (without it, starting a 32-bit program under qemu
# takes about a minute). Installing them adds the i386 architecture. Debian keeps the amd64 and
# i386 builds of a shared library at one version, so apt may upgrade some amd64 libraries to the
# archive's current version along with them.
packages+=(wine32:i386 wine32-preloader:i386)

# shellcheck source=cmake/wine-env.sh
source "$(dirname "$0")/../cmake/wine-env.sh"

if [[ $(id -u) -ne 0 ]]; then
    sudo=sudo
else
    sudo=
fi
export DEBIAN_FRONTEND=noninteractive

installed() {
    # "install ok installed" only: a removed package leaves its status record behind.
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

updated=0
install_packages() {
    if ((!updated)); then
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            $sudo dpkg --add-architecture i386
        fi
        $sudo apt-get update -q
        updated=1
    fi
    $sudo apt-get install -y -q --no-install-recommends "$@"
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if ((${#missing[@]} > 0)); then
    echo "setup: installing ${missing[*]}"
    install_packages "${packages[@]}"
fi

# Some kernels cannot run 32-bit code themselves (built without IA32 emulation, or under a
# hypervisor without a 32-bit mode, as some cloud machines are). There qemu runs the 32-bit
# programs, registered with binfmt_misc so that Wine can start them like any other program.
# The registration lasts until the machine restarts. If it cannot be made, scripts/test.sh says
# so and reports the 32-bit end-to-end tests as skipped.
if [[ -x "$wine32" ]] && ! "$wine32" --version >/dev/null 2>&1; then
    installed qemu-user-static || {
        echo "setup: this kernel cannot run 32-bit programs; installing qemu-user-static"
        install_packages qemu-user-static
    }
    binfmt=/proc/sys/fs/binfmt_misc
    if [[ ! -e "$binfmt/register" ]]; then
        $sudo mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
    fi
    if [[ -e "$binfmt/register" && ! -e "$binfmt/qemu-i386" ]]; then
        echo "setup: running 32-bit programs through qemu-i386 (binfmt_misc)"
        magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" |
            $sudo tee "$binfmt/register" >/dev/null || true
    fi
    if ! "$wine32" --version >/dev/null 2>&1; then
        echo "setup: warning: this machine cannot run 32-bit programs, not even through qemu"
    fi
fi

# Debian 13's Wine 10, the second Wine the end-to-end suites run under, in a root of its own kept
# outside the checkout (cmake/trixie-root.sh; made once, about 3 minutes and 2.5 GB). Where it
# cannot be made, scripts/test.sh reports the Wine 10 suites as skipped with the reason.
if ! "$(dirname "$0")/../cmake/trixie-root.sh" make; then
    echo "setup: warning: no Wine 10 here; its end-to-end runs will be skipped"
fi
