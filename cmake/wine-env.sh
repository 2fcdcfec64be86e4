# shellcheck shell=bash
# Sourced by everything that runs Wine (cmake/wine-run.sh, which scripts/run.sh, scripts/demo.sh
# and the tests go through; bench/wine_display.sh; scripts/setup.sh and scripts/test.sh): where
# Debian's Wine lives, the environment of a prefix of ours, and the prefix's one-time set-up.
#
#   wine, wine32, wineserver   the 64-bit loader, the 32-bit one (it runs only where 32-bit
#                              programs run), the server
#   wine_env STATE_DIR         exports Wine's environment for the prefix STATE_DIR/prefix
#   wine_prepare STATE_DIR     makes that prefix once and configures it, with a persistent
#                              wineserver; later calls only start the server. Returns non-zero
#                              when Wine fails; STATE_DIR/wineboot.log says why
#   wine_stop                  ends every process of the exported prefix and its server

# Two Wines: Debian 12's Wine 8 on the host (the default) and Debian 13's Wine 10 in the root that
# cmake/trixie-root.sh makes. GLOAM_WINE=10 selects Wine 10 for everything that sources this
# file; wine_select 8|10 switches later. wine_version says which is selected; wine_tag is what a
# state folder's name gains for it (nothing for Wine 8, "10" for Wine 10).
#   wine_available             exits 0 when the selected Wine can run here, else prints why not
wine_env_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# shellcheck disable=SC2034  # the loaders are for the scripts that source this
wine_select() {
    case $1 in
    8)
        wine_dir=/usr/lib/wine
        wineserver="$wine_dir/wineserver"
        [[ -x "$wineserver" ]] || wineserver=$(command -v wineserver || echo /usr/bin/wineserver)
        ;;
    10)
        wine_dir="$wine_env_dir/wine10"
        wineserver="$wine_dir/wineserver"
        ;;
    *)
        echo "wine-env: GLOAM_WINE must be 8 or 10, not '$1'" >&2
        return 1
        ;;
    esac
    wine_version=$1
    wine_tag=${1/#8/}
    wine="$wine_dir/wine64"
    wine32="$wine_dir/wine"
}
wine_select "${GLOAM_WINE:-8}" || wine_select 8

wine_available() {
    if [[ $wine_version == 10 ]]; then
        "$wine_env_dir/trixie-root.sh" check || return 1
        [[ $(id -u) -eq 0 ]] || {
            echo "entering the Debian 13 root with Wine 10 needs root"
            return 1
        }
    fi
    [[ -x "$wine" ]] || {
        echo "$wine not found (scripts/setup.sh installs it)"
        return 1
    }
}

wine_env() {
    local state=$1
    export WINEPREFIX="$state/prefix"
    export WINEDEBUG="${GLOAM_WINEDEBUG:--all}"
    export WINEARCH=win64
    # No Mono or Gecko installer dialogs: nothing may be downloaded and nobody answers them.
    export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$state}"
    # Wine expects a home folder; CI may run without HOME.
    export HOME="${HOME:-$state}"
    unset WINELOADER WINESERVER
}

wine_prepare() {
    local state=$1
    if [[ ! -f "$state/prefix.ready" ]]; then
        rm -rf "$WINEPREFIX" "$state/session.dpi"
        "$wineserver" -p </dev/null >/dev/null 2>&1
        "$wine" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || return 1
        touch "$state/prefix.ready"
    fi
    if [[ ! -f "$state/prefix.configured-1" ]]; then
        # No window manager runs in our X servers. Wine would wait 2 s for one whenever a
        # captioned window (a message box, a dialog) is hidden; unmanaged windows skip that wait.
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >>"$state/wineboot.log" 2>&1 || return 1
        touch "$state/prefix.configured-1"
    fi
    # Persistent: starting it is a no-op when one already serves this prefix. Its output must not
    # go to the caller's pipes, or ctest would wait for it to exit.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || true
}

# Makes the session of the exported prefix run at `dpi` (LogPixels). Wine 10 fixes the monitors'
# density when its session starts, as Windows does at sign-in, so a session at another density is
# ended, the value written and the session started anew; Wine 8 reads it for each process.
wine_session_dpi() {
    local state=$1 dpi=$2 current=96
    [[ -f "$state/session.dpi" ]] && current=$(<"$state/session.dpi")
    [[ $current == "$dpi" ]] && return 0
    wine_stop
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >>"$state/wineboot.log" 2>&1 || return 1
    wine_stop
    echo "$dpi" >"$state/session.dpi"
    "$wineserver" -p </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w >/dev/null 2>&1 || true
}
