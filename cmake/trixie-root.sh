#!/usr/bin/env bash
# Debian 13's Wine 10 beside the host's Wine 8: a trixie root made once with debootstrap, kept
# outside every checkout, and entered for each Wine command.
#
#   cmake/trixie-root.sh make        makes the root (once; later calls only check it). Safe to
#                                    interrupt: the root is built in ROOT.partial and renamed
#                                    only when complete, and a new try starts that over.
#   cmake/trixie-root.sh check       exits 0 when the root is complete, else prints why not
#   cmake/trixie-root.sh run PROG..  runs PROG (a path inside the root) with the host's /dev,
#                                    /proc, /sys, /tmp (X and Wine sockets) and the folders of
#                                    the caller's files bound at the same paths
#
# The bind mounts live in a mount namespace of their own (unshare), so they end with the command,
# whatever ends it; nothing is ever left mounted on the host. Needs root, as debootstrap does.
#
# Environment: GLOAM_TRIXIE_ROOT (default /var/cache/gloamdrift/trixie).
set -euo pipefail

root=${GLOAM_TRIXIE_ROOT:-/var/cache/gloamdrift/trixie}
mirror=http://deb.debian.org/debian
# Bump when the package list changes; an older root is then completed, not remade.
generation=4
packages=(
    wine64 wine64-preloader wine32:i386 wine32-preloader:i386
    # The X extensions Wine loads at run time, for both sides; the packages only recommend them.
    # Without XInput2 a display thread is flooded with cursor-clip messages and its timer never
    # fires; without RandR and Xinerama Wine sees one monitor.
    libxi6 libxi6:i386 libxrandr2 libxrandr2:i386 libxinerama1 libxinerama1:i386
    libxcursor1 libxcursor1:i386 libxcomposite1 libxcomposite1:i386 libxxf86vm1 libxxf86vm1:i386
    libxrender1 libxrender1:i386 libxfixes3 libxfixes3:i386
    fonts-ipafont-gothic fonts-liberation procps
    # xrandr and xdotool, which the end-to-end tests run from inside Wine: the monitors, and a
    # key held on the X server's keyboard.
    x11-xserver-utils xdotool
)
ready="$root/.gloam-ready-$generation"

die() {
    echo "trixie-root: $*" >&2
    exit 1
}

# Runs "$@" inside ROOT (the first argument) in a private mount namespace with the host's
# kernel file systems, /tmp and the given extra folders bound in. The inner steps exec each
# other, so the caller's child is the program itself (the benchmarks sample its CPU by pid).
# shellcheck disable=SC2016  # expanded by the inner shell
enter_script='
        set -e
        dir=$1; shift
        binds=$1; shift
        mount --rbind /dev "$dir/dev"
        mount -t proc proc "$dir/proc"
        mount --rbind /sys "$dir/sys"
        mount --bind /tmp "$dir/tmp"
        IFS=: read -ra extra <<<"$binds"
        for b in "${extra[@]}"; do
            [[ -n $b && -d $b ]] || continue
            mkdir -p "$dir$b"
            mount --rbind "$b" "$dir$b"
        done
        # In the working folder of the caller when the root has it (bound above), else at /.
        cwd=/
        [[ -d "$dir$PWD" ]] && cwd=$PWD
        exec chroot "$dir" /usr/bin/env -C "$cwd" "$@"'
enter() {
    unshare --mount --propagation private -- bash -c "$enter_script" enter "$1" \
        "$(bind_list "$1")" "${@:2}"
}

# The host folders the command may name: the working folder, HOME, Wine's prefix and every
# absolute path among the arguments, each bound as its top folder (/work for
# /work/main/build/x.exe). Under the system's own folders a path is bound as itself, and only
# where the root (ROOT, the argument) has nothing: /usr/lib/wine is Wine 10's.
bind_list() {
    local inside=$1
    local -A seen=()
    local p top list=""
    for p in "$PWD" "${HOME:-}" "${WINEPREFIX:-}" "${run_args[@]}"; do
        [[ $p == /* ]] || continue
        p=${p%%\"*}
        [[ -e $p ]] || p=$(dirname "$p")
        [[ -d $p ]] || p=$(dirname "$p")
        [[ -d $p ]] || continue
        top="/$(cut -d/ -f2 <<<"$p")"
        case $top in
        / | /dev | /proc | /sys | /tmp) continue ;;
        /bin | /boot | /etc | /lib | /lib32 | /lib64 | /libx32 | /run | /sbin | /usr | /var)
            [[ -e $inside$p ]] && continue
            top=$p
            ;;
        esac
        [[ -n ${seen[$top]:-} ]] && continue
        seen[$top]=1
        list+="$top:"
    done
    echo "$list"
}

make_root() {
    [[ -f $ready ]] && return 0
    [[ $(id -u) -eq 0 ]] || die "making the Wine 10 root needs root"
    command -v debootstrap >/dev/null || die "debootstrap is not installed (scripts/setup.sh)"
    local build=$root
    if [[ ! -d $root ]]; then
        build="$root.partial"
        if [[ ! -f $build/.gloam-bootstrapped ]]; then
            echo "trixie-root: debootstrap trixie into $build"
            rm -rf "$build"
            mkdir -p "$(dirname "$build")"
            debootstrap --variant=minbase --arch=amd64 trixie "$build" "$mirror" \
                >"$(dirname "$build")/debootstrap.log" 2>&1 ||
                die "debootstrap failed (see $(dirname "$build")/debootstrap.log)"
            touch "$build/.gloam-bootstrapped"
        fi
    fi
    echo "trixie-root: installing Wine 10 into $build"
    cp /etc/resolv.conf "$build/etc/resolv.conf" 2>/dev/null || true
    run_args=()
    enter "$build" /usr/bin/env DEBIAN_FRONTEND=noninteractive bash -c '
        set -e
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
        apt-get update -q
        apt-get install -y -q --no-install-recommends "$@"
        apt-get clean
    ' install "${packages[@]}" || die "installing Wine 10 into $build failed"
    touch "$build/.gloam-ready-$generation"
    [[ $build == "$root" ]] || mv "$build" "$root"
}

case ${1:-} in
make) make_root ;;
check)
    [[ -f $ready ]] || {
        echo "no Debian 13 root with Wine 10 at $root (scripts/setup.sh makes it)"
        exit 1
    }
    ;;
run)
    shift
    [[ -f $ready ]] || die "no Debian 13 root with Wine 10 at $root (scripts/setup.sh makes it)"
    run_args=("$@")
    exec unshare --mount --propagation private -- bash -c "$enter_script" enter "$root" \
        "$(bind_list "$root")" "$@"
    ;;
*)
    echo "usage: $0 make | check | run PROGRAM [ARGS...]" >&2
    exit 2
    ;;
esac
