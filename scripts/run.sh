#!/usr/bin/env bash
# Builds the x86_64 GloamDrift.scr and runs it under wine64: scripts/run.sh [ARGS...]
# ARGS default to "/S" (the full-screen display); "/C" opens the settings dialog.
#
# With a reachable $DISPLAY the program shows there and runs until you end it the way a screen
# saver ends (move the mouse, click, press a key). Without one, "/S" is recorded by
# scripts/demo.sh over a sample desktop (out/demo.gif and out/demo-frame.png); any other mode runs
# in a private Xvfb for GLOAM_RUN_SECONDS (default 8) seconds, then a screenshot of that screen is
# saved to build/win64/run-screenshot.png and the program is stopped. GLOAM_BUILD_ROOT=/some/dir builds in
# /some/dir/win64 instead.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh || exit 1

dir="${GLOAM_BUILD_ROOT:-$root/build}/win64"
mkdir -p "$dir"
if ! cmake --preset win64 -B "$dir" >"$dir/configure.log" 2>&1; then
    cat "$dir/configure.log"
    exit 1
fi
cmake --build "$dir" -j 2 --target GloamDrift || exit 1
scr="$dir/GloamDrift.scr"
args=("$@")
((${#args[@]} > 0)) || args=(/S)

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    echo "run: $scr ${args[*]} on $DISPLAY"
    exec "$root/cmake/wine-run.sh" "$scr" "${args[@]}"
fi

# The display without a screen to show it on: record it over a sample desktop instead.
if [[ "${args[*]}" == "/S" ]]; then
    echo "run: no display; recording $scr /S on a private virtual screen"
    exec "$root/scripts/demo.sh" --scr "$scr" --build-root "${GLOAM_BUILD_ROOT:-$root/build}"
fi

seconds=${GLOAM_RUN_SECONDS:-8}
echo "run: no display; $scr ${args[*]} in Xvfb for $seconds s"
"$root/cmake/wine-run.sh" "$scr" "${args[@]}" &
pid=$!
sleep "$seconds"
shot="$dir/run-screenshot.png"
if [[ -f "$dir/wine/xvfb.env" ]]; then
    # shellcheck disable=SC1091
    source "$dir/wine/xvfb.env"
    if import -display "$XVFB_DISPLAY" -window root "$shot" 2>/dev/null; then
        echo "run: screenshot saved to $shot"
    fi
fi
if kill -0 "$pid" 2>/dev/null; then
    echo "run: still running after $seconds s; stopping it"
else
    wait "$pid"
    echo "run: the program ended by itself, exit code $?"
fi
"$root/cmake/wine-run.sh" --stop "$dir"
wait "$pid" 2>/dev/null
exit 0
