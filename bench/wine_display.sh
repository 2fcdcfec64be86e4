# shellcheck shell=bash
# Sourced by the bench scripts: a private Xvfb and a Wine prefix of their own, so that a
# measurement never shares a display, a pointer or a wineserver with anyone else.
#
#   bench_start_xvfb STATE_DIR WxHxD   starts Xvfb on a free display (chosen by Xvfb itself,
#                                      cmake/x-server.sh), sets DISPLAY and XVFB_PID
#   bench_prefix STATE_DIR             exports the Wine environment for STATE_DIR/prefix and
#                                      creates the prefix once (wineboot), reused afterwards
#   bench_stop_wine                    ends every process of that prefix (wineserver -k)
#   bench_stop_xvfb                    ends the Xvfb started above
#   bench_ticks PID                    utime + stime of a process, in clock ticks
#   bench_wineserver_pid               the wineserver serving the prefix
#   bench_stop_child                   ends the program started last (its pid in bench_child)
#   bench_saver_display STATE_DIR      all of the above that a measurement of the saver needs: a
#                                      1920x1080x24 Xvfb, the prefix with the saver's settings at
#                                      Speed 1, Size 2, and everything ended when the script exits

#   bench_options USAGE NAME... -- ARGS  reads the script's options: --NAME VALUE sets the
#                                      variable NAME; --wine 8|10 selects the Wine (Debian 12's
#                                      by default, or GLOAM_WINE); anything else prints USAGE
#                                      and exits 2
#   bench_state BUILD NAME             the state folder BUILD/NAME of the selected Wine
#                                      (NAME-wine10 under Wine 10)

# shellcheck source=cmake/x-server.sh
source "$(dirname "${BASH_SOURCE[0]}")/../cmake/x-server.sh"
# shellcheck source=cmake/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/../cmake/wine-env.sh"

bench_die() {
    echo "${0##*/}: $*" >&2
    exit 1
}

bench_options() {
    local usage=$1 names=" " name
    shift
    while [[ $1 != -- ]]; do
        names+="$1 "
        shift
    done
    shift
    while (($#)); do
        if [[ $1 == --wine && $# -ge 2 ]]; then
            wine_select "$2" || exit 2
            shift 2
            continue
        fi
        name=${1#--}
        if [[ $1 != --* || $names != *" $name "* || $# -lt 2 ]]; then
            echo "usage: $0 $usage" >&2
            exit 2
        fi
        printf -v "$name" '%s' "$2"
        shift 2
    done
}

bench_state() {
    echo "$1/$2${wine_tag:+-wine$wine_tag}"
}

bench_start_xvfb() {
    local state=$1 screen=$2
    command -v Xvfb >/dev/null || bench_die "Xvfb not found (run scripts/setup.sh)"
    : >"$state/xvfb.log"
    x_server_start "$state/xvfb.log" Xvfb -screen 0 "$screen" -nolisten tcp -ac -noreset ||
        bench_die "Xvfb did not start (see $state/xvfb.log)"
    # shellcheck disable=SC2034  # for the scripts that source this
    XVFB_PID=$X_SERVER_PID
    DISPLAY=$X_SERVER_DISPLAY
    export DISPLAY
}

# Ends the process whose pid the variable named $1 holds, if any, and empties the variable.
bench_end() {
    local -n bench_pid_=$1
    if [[ -n "${bench_pid_:-}" ]]; then
        kill "$bench_pid_" 2>/dev/null || true
        wait "$bench_pid_" 2>/dev/null || true
        bench_pid_=
    fi
}

bench_stop_xvfb() {
    bench_end XVFB_PID
}

# The measurement starts its programs itself, without a server left from the set-up.
bench_prefix() {
    local state=$1
    local why
    why=$(wine_available) || bench_die "$why"
    wine_env "$state"
    wine_prepare "$state" || bench_die "Wine could not make the prefix (see $state/wineboot.log)"
    wine_stop
}

bench_stop_wine() {
    wine_stop
}

bench_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || {
        echo 0
        return
    }
    # Fields after the command name, which ends at the last ')': state is field 3, utime 14.
    local -a f
    read -r -a f <<<"${stat##*) }"
    echo $((f[11] + f[12]))
}

bench_wineserver_pid() {
    local p
    for p in /proc/[0-9]*; do
        case $(cat "$p/comm" 2>/dev/null) in
            wineserver*) ;;
            *) continue ;;
        esac
        if tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "${p#/proc/}"
            return 0
        fi
    done
    return 1
}

# shellcheck disable=SC2034  # set by the scripts that source this
bench_child=

bench_stop_child() {
    bench_end bench_child
}

bench_cleanup() {
    bench_stop_child
    if [[ -n "${WINEPREFIX:-}" ]]; then bench_stop_wine; fi
    bench_stop_xvfb
}

bench_saver_display() {
    local state=$1 key='HKCU\Software\GloamDriftSCR\Setting'
    trap bench_cleanup EXIT
    bench_start_xvfb "$state" 1920x1080x24
    bench_prefix "$state"
    "$wine" reg add "$key" /v Speed /t REG_SZ /d 1 /f </dev/null >/dev/null 2>&1
    "$wine" reg add "$key" /v Size /t REG_SZ /d 2 /f </dev/null >/dev/null 2>&1
    bench_stop_wine
}
