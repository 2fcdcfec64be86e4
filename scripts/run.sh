#!/usr/bin/env bash
# Builds the x86_64 GloamDrift.scr and runs it under wine64: scripts/run.sh [ARGS...]
# ARGS default to "/S" (the full-screen display); "/C" opens the settings dialog.
#
# With a reachable $DISPLAY the program shows there and runs until you end it the way a screen
# saver ends (move the mouse, click, press a key). Without one, "/S" is recorded by
# scripts/demo.sh over a sample desktop (out/demo.gif and out/demo-frame.png); any other mode runs
# on a private X server for GLOAM_RUN_SECONDS (default 8) seconds, then a screenshot of that
# screen is saved to <build>/win64/run-screenshot.png and the program is stopped.
#
# Exits with the program's exit code when it ends by itself (or with the recording's), 0 when it
# was still running and was stopped, and 1 when it could not be built. Whatever it started (the
# program, its Wine processes, a private X server) ends with it, Ctrl-C included.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1

scripts/setup.sh || exit 1

build_root="${GLOAM_BUILD_ROOT:-$root/build}"
dir="$build_root/win64"
mkdir -p "$dir"
if ! cmake --preset win64 -B "$dir" >"$dir/configure.log" 2>&1; then
    cat "$dir/configure.log"
    exit 1
fi
cmake --build "$dir" -j 2 --target GloamDrift || exit 1
scr="$dir/GloamDrift.scr"
args=("$@")
((${#args[@]} > 0)) || args=(/S)

# A Wine prefix of its own, apart from the end-to-end tests' one.
export GLOAM_WINE_HOME="$dir/run-wine"
on_display=0
[[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1 && on_display=1

# The display without a screen to show it on: record it over a sample desktop instead (demo.sh
# stops what it starts).
if ((!on_display)) && [[ "${args[*]}" == "/S" ]]; then
    echo "run: no display; recording $scr /S on a private virtual screen"
    exec "$root/scripts/demo.sh" --scr "$scr" --build-root "$build_root"
fi

pid=""
# shellcheck disable=SC2317  # runs from the traps
stop_all() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    # The program with every Wine process of this prefix, and the private X server if any.
    "$root/cmake/wine-run.sh" --stop
    [[ -n "$pid" ]] && wait "$pid" 2>/dev/null
    return 0
}
trap stop_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if ((on_display)); then
    echo "run: $scr ${args[*]} on $DISPLAY"
    GLOAM_WINE_DISPLAY=$DISPLAY "$root/cmake/wine-run.sh" "$scr" "${args[@]}"
    exit
fi

seconds=${GLOAM_RUN_SECONDS:-8}
"$root/cmake/wine-run.sh" --prepare || exit 1
echo "run: no display; $scr ${args[*]} on a private X server for $seconds s"
"$root/cmake/wine-run.sh" "$scr" "${args[@]}" &
pid=$!
sleep "$seconds"
shot="$dir/run-screenshot.png"
if [[ -f "$GLOAM_WINE_HOME/xserver.env" ]]; then
    # shellcheck disable=SC1091
    source "$GLOAM_WINE_HOME/xserver.env"
    if import -display "$X_DISPLAY" -window root "$shot" 2>/dev/null; then
        echo "run: screenshot saved to $shot"
    fi
fi
rc=0
if kill -0 "$pid" 2>/dev/null; then
    echo "run: still running after $seconds s; stopping it"
else
    wait "$pid"
    rc=$?
    pid=""
    echo "run: the program ended by itself, exit code $rc"
fi
exit $rc
