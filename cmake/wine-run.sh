#!/usr/bin/env bash
# Runs a Windows executable under wine64: cmake/wine-run.sh PROGRAM.exe [ARGS...]
#
# This is the win64 preset's CMAKE_CROSSCOMPILING_EMULATOR, so ctest runs every e2e test through
# it. It keeps, per build directory, one Wine prefix, one persistent wineserver and one X server of
# its own, all created on first use and reused afterwards so a run costs a fraction of a second
# instead of a wineboot. It never uses the caller's $DISPLAY: the tests move the pointer and press
# keys. The program's exit code is passed through.
#
# The X server is Xorg with the dummy video driver (cmake/xorg-dummy.conf): four RandR outputs,
# each a monitor to Wine, of which only DUMMY0 (1024x768, the primary) is on at the start. Xorg
# picks a free display number itself (cmake/x-server.sh), so parallel runs never race for one.
#
# Environment:
#   GLOAM_WINE          8 (Debian 12's Wine, the default) or 10 (Debian 13's, cmake/trixie-root.sh)
#   GLOAM_WINE_HOME     state folder (prefix, X server record, lock); default: <build dir>/wine
#                       (wine10 for Wine 10) when the program lies in a CMake build tree, else
#                       /tmp/gloamdrift-wine<N>-<uid>
#   GLOAM_WINE_DISPLAY  an X display to show the program on instead of the private X server
#                       (scripts/run.sh and scripts/demo.sh; the tests never set it)
#
# cmake/wine-run.sh --prepare makes the state folder ready (X server, prefix, wineserver) and
# exits; cmake/wine-run.sh --stop [BUILD_DIR] stops that state folder's wineserver and X server.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=cmake/wine-env.sh
source "$here/wine-env.sh"
# shellcheck source=cmake/x-server.sh
source "$here/x-server.sh"

die() {
    echo "wine-run: $*" >&2
    exit 125
}

why=$(wine_available) || die "$why"

build_dir_of() {
    local dir
    dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd -P) || return 1
    while [[ "$dir" != / ]]; do
        if [[ -f "$dir/CMakeCache.txt" ]]; then
            echo "$dir"
            return 0
        fi
        dir=$(dirname "$dir")
    done
    return 1
}

stop=0
prepare=0
if [[ "${1:-}" == --prepare ]]; then
    prepare=1
    shift
fi
if [[ "${1:-}" == --stop ]]; then
    stop=1
    shift
    [[ $# -gt 0 && -d "$1" ]] && set -- "$1/."
fi

if [[ -z "${GLOAM_WINE_HOME:-}" ]]; then
    if [[ $# -gt 0 ]] && bdir=$(build_dir_of "$1"); then
        GLOAM_WINE_HOME="$bdir/wine$wine_tag"
    else
        GLOAM_WINE_HOME="${TMPDIR:-/tmp}/gloamdrift-wine$wine_version-$(id -u)"
    fi
fi
home="$GLOAM_WINE_HOME"
mkdir -p "$home" || die "cannot create $home"
home=$(cd "$home" && pwd -P)

wine_env "$home"

xserver_record="$home/xserver.env"
xorg_conf="$here/xorg-dummy.conf"

display_ok() {
    [[ -n "${1:-}" ]] && DISPLAY="$1" xdpyinfo >/dev/null 2>&1
}

stop_all() {
    [[ -d "$WINEPREFIX" ]] && wine_stop
    if [[ -f "$xserver_record" ]]; then
        local X_DISPLAY="" X_PID=""
        # shellcheck disable=SC1090
        source "$xserver_record"
        if [[ -n "$X_PID" ]] && kill -0 "$X_PID" 2>/dev/null; then
            kill "$X_PID" 2>/dev/null || true
        fi
        rm -f "$xserver_record"
    fi
}

# The one monitor every test starts from; tests that arrange others put this back.
default_layout() {
    DISPLAY="$1" xrandr --fb 1024x768 --output DUMMY0 --mode 1024x768 --pos 0x0 --primary \
        --output DUMMY1 --off --output DUMMY2 --off --output DUMMY3 --off
}

# Reuses the recorded X server when it still answers; otherwise starts one. Detached from our
# stdout/stderr so ctest never waits on it.
ensure_xserver() {
    if [[ -f "$xserver_record" ]]; then
        local X_DISPLAY="" X_PID=""
        # shellcheck disable=SC1090
        source "$xserver_record"
        if [[ -n "$X_PID" ]] && kill -0 "$X_PID" 2>/dev/null && display_ok "$X_DISPLAY"; then
            echo "$X_DISPLAY"
            return 0
        fi
        rm -f "$xserver_record"
    fi
    command -v Xorg >/dev/null || die "Xorg not found (run scripts/setup.sh)"
    [[ -f "$xorg_conf" ]] || die "$xorg_conf not found"
    # Wine's processes of an earlier X server must not outlive it.
    [[ -d "$WINEPREFIX" ]] && "$wineserver" -k >/dev/null 2>&1
    x_server_start /dev/null setsid Xorg -config "$xorg_conf" -logfile "$home/xorg.log" -noreset \
        -nolisten tcp -ac -novtswitch || die "could not start Xorg (see $home/xorg.log)"
    default_layout "$X_SERVER_DISPLAY" || die "xrandr could not set the single monitor"
    printf 'X_DISPLAY=%s\nX_PID=%s\n' "$X_SERVER_DISPLAY" "$X_SERVER_PID" >"$xserver_record"
    echo "$X_SERVER_DISPLAY"
}

setup_locked() {
    if [[ -n "${GLOAM_WINE_DISPLAY:-}" ]]; then
        display_ok "$GLOAM_WINE_DISPLAY" || die "cannot reach the X display $GLOAM_WINE_DISPLAY"
        DISPLAY=$GLOAM_WINE_DISPLAY
    else
        DISPLAY=$(ensure_xserver) || exit 125
        # Wine 10 gives a desktop made later in a session the pointer's place when the session
        # started, and moves the pointer there when a window of that desktop becomes active: the
        # tests' pointer rests at the primary's centre, so a session starts with it there.
        DISPLAY=$DISPLAY xdotool mousemove 512 384 >/dev/null 2>&1 || true
    fi
    export DISPLAY
    wine_prepare "$home" || die "Wine could not make the prefix (see $home/wineboot.log)"
    wine_session_dpi "$home" "$session_dpi" ||
        die "Wine could not start a session at $session_dpi DPI (see $home/wineboot.log)"
}

# A test whose name ends in "/dpiNNN" or "_dpiNNN" runs in a session started at NNN DPI, as a
# user's sign-in at that density would start it; everything else at 96.
session_dpi=96
for arg in "$@"; do
    [[ $arg =~ ^--gtest_filter=.*[/_]dpi([0-9]+)$ ]] && session_dpi=${BASH_REMATCH[1]}
done

if [[ $stop == 1 ]]; then
    stop_all
    exit 0
fi
if [[ $# -eq 0 && $prepare == 0 ]]; then
    echo "usage: $0 PROGRAM.exe [ARGS...] | $0 --prepare | $0 --stop [BUILD_DIR]" >&2
    exit 2
fi

exec 9>"$home/lock"
flock 9 || die "cannot lock $home/lock"
setup_locked
flock -u 9
exec 9>&-
[[ $prepare == 1 ]] && exit 0

# Wine's helper processes (services.exe, explorer.exe ...) outlive the program and inherit its
# descriptors; if they held ctest's pipes, ctest would hang until they quit. So the program writes
# into files that are copied out once it has ended.
out=$(mktemp "$home/out.XXXXXX")
err=$(mktemp "$home/err.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
"$wine" "$@" </dev/null >"$out" 2>"$err"
rc=$?
cat "$out"
cat "$err" >&2
# A program that ends before writing a word (a start Wine gave up on) would leave ctest nothing.
[[ $rc != 0 && ! -s "$out" && ! -s "$err" ]] &&
    echo "wine-run: $1 ended with exit code $rc before writing anything" >&2
exit $rc
