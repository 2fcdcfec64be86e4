#!/usr/bin/env bash
# Runs a Windows executable under wine64: cmake/wine-run.sh PROGRAM.exe [ARGS...]
#
# This is the win64 preset's CMAKE_CROSSCOMPILING_EMULATOR, so ctest runs every e2e test through
# it. It keeps, per build directory, one Wine prefix, one persistent wineserver and (when no usable
# X display is given) one Xvfb at 1024x768x24, all created on first use and reused afterwards so a
# run costs a fraction of a second instead of a wineboot. The program's exit code is passed
# through.
#
# Environment:
#   GLOAM_WINE_HOME  state folder (prefix, Xvfb record, lock); default: <build dir>/wine when the
#                    program lies in a CMake build tree, else /tmp/gloamdrift-wine-<uid>
#   GLOAM_OWN_XVFB=1 use the private Xvfb even when $DISPLAY is set and reachable
#
# cmake/wine-run.sh --stop [BUILD_DIR] stops that state folder's wineserver and Xvfb.
set -uo pipefail

wine_dir=/usr/lib/wine
wine="$wine_dir/wine64"
wineserver="$wine_dir/wineserver"
[[ -x "$wineserver" ]] || wineserver=$(command -v wineserver || echo /usr/bin/wineserver)

die() {
    echo "wine-run: $*" >&2
    exit 125
}

[[ -x "$wine" ]] || die "$wine not found (run scripts/setup.sh)"

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
if [[ "${1:-}" == --stop ]]; then
    stop=1
    shift
    [[ $# -gt 0 && -d "$1" ]] && set -- "$1/."
fi

if [[ -z "${GLOAM_WINE_HOME:-}" ]]; then
    if [[ $# -gt 0 ]] && bdir=$(build_dir_of "$1"); then
        GLOAM_WINE_HOME="$bdir/wine"
    else
        GLOAM_WINE_HOME="${TMPDIR:-/tmp}/gloamdrift-wine-$(id -u)"
    fi
fi
home="$GLOAM_WINE_HOME"
mkdir -p "$home" || die "cannot create $home"
home=$(cd "$home" && pwd -P)

export WINEPREFIX="$home/prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer dialogs: nothing may be downloaded and nobody answers them.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$home}"
# Wine expects a home folder; CI may run without HOME.
export HOME="${HOME:-$home}"
unset WINELOADER WINESERVER

xvfb_record="$home/xvfb.env"

display_ok() {
    [[ -n "${1:-}" ]] && DISPLAY="$1" xdpyinfo >/dev/null 2>&1
}

stop_all() {
    if [[ -d "$WINEPREFIX" ]]; then
        "$wineserver" -k >/dev/null 2>&1 || true
    fi
    if [[ -f "$xvfb_record" ]]; then
        local XVFB_DISPLAY="" XVFB_PID=""
        # shellcheck disable=SC1090
        source "$xvfb_record"
        if [[ -n "$XVFB_PID" ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
            kill "$XVFB_PID" 2>/dev/null || true
        fi
        rm -f "$xvfb_record"
    fi
}

# Reuses the recorded Xvfb when it still answers; otherwise starts one on the first free display
# number from 90 on. Detached from our stdout/stderr so ctest never waits on it.
ensure_xvfb() {
    if [[ -f "$xvfb_record" ]]; then
        local XVFB_DISPLAY="" XVFB_PID=""
        # shellcheck disable=SC1090
        source "$xvfb_record"
        if [[ -n "$XVFB_PID" ]] && kill -0 "$XVFB_PID" 2>/dev/null && display_ok "$XVFB_DISPLAY"; then
            echo "$XVFB_DISPLAY"
            return 0
        fi
        rm -f "$xvfb_record"
    fi
    command -v Xvfb >/dev/null || die "Xvfb not found (run scripts/setup.sh)"
    local n pid i
    for ((n = 90; n < 190; n++)); do
        [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
        setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac -noreset \
            </dev/null >"$home/xvfb.log" 2>&1 &
        pid=$!
        for ((i = 0; i < 100; i++)); do
            if display_ok ":$n"; then
                printf 'XVFB_DISPLAY=:%s\nXVFB_PID=%s\n' "$n" "$pid" >"$xvfb_record"
                echo ":$n"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    die "could not start Xvfb (see $home/xvfb.log)"
}

setup_locked() {
    if [[ "${GLOAM_OWN_XVFB:-0}" != 1 ]] && display_ok "${DISPLAY:-}"; then
        :
    else
        DISPLAY=$(ensure_xvfb) || exit 125
    fi
    export DISPLAY
    if [[ ! -f "$home/prefix.ready" ]]; then
        rm -rf "$WINEPREFIX"
        "$wineserver" -p </dev/null >/dev/null 2>&1
        if ! "$wine" wineboot -i </dev/null >"$home/wineboot.log" 2>&1; then
            die "wineboot failed (see $home/wineboot.log)"
        fi
        touch "$home/prefix.ready"
    fi
    if [[ ! -f "$home/prefix.configured-1" ]]; then
        # No window manager runs in Xvfb. Wine would wait 2 s for one whenever a captioned window
        # (a message box, a dialog) is hidden; unmanaged windows skip that wait.
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >>"$home/wineboot.log" 2>&1 || die "cannot configure the prefix"
        touch "$home/prefix.configured-1"
    fi
    # Persistent server: starting it is a no-op when one already serves this prefix. Its output
    # must not go to our caller's pipes, or ctest would wait for it to exit.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || true
}

if [[ $stop == 1 ]]; then
    stop_all
    exit 0
fi
if [[ $# -eq 0 ]]; then
    echo "usage: $0 PROGRAM.exe [ARGS...] | $0 --stop [BUILD_DIR]" >&2
    exit 2
fi

exec 9>"$home/lock"
flock 9 || die "cannot lock $home/lock"
setup_locked
flock -u 9
exec 9>&-

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
exit $rc
