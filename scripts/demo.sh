#!/usr/bin/env bash
# Records GloamDrift on a private virtual screen: a short animation and one still frame.
#
#   scripts/demo.sh [--scr FILE] [--art FILE] [--out DIR] [--seconds N] [--build-root DIR]
#                   [--cat] [--monitors] [--wallpaper] [--docs]
#
# Builds what it is not given (the host tool gloam_art, the win64 GloamDrift.scr), starts its own
# Xvfb at 1024x768x24 on a free display, puts the sample desktop that gloam_art draws on the root
# window, runs "GloamDrift.scr /S" under wine64 (cmake/wine-run.sh, with a Wine prefix of its own)
# and grabs the screen at 10 frames a second. Writes OUT/demo.gif (half size) and
# OUT/demo-frame.png (full size: the frame whose spot shows the most edges, such as window frames,
# icons and text). --cat keeps the saver running past its third clock minute, when the cats are
# stamped, and adds OUT/demo-cat.png, the frame with the most cat under the spot (about 3.5 minutes
# more). --monitors runs on three monitors instead (Xorg's dummy driver: 800x600 left of the
# 1024x768 primary, 1280x720 right of it) and writes OUT/several-monitors.png. --wallpaper runs it
# as Windows 10 and 11 start a screen saver, on a desktop of its own named "Screen-saver" (Wine's
# explorer makes one, 1024x768), with gloam_art's sample wallpaper (1600x900) chosen to fill the
# screen, and writes OUT/screen-saver-desktop.gif and .png instead of the demo's two files.
# --docs also copies the stills to docs/. Everything it started is stopped when it ends.
#
# Needs: cmake, the MinGW and host compilers (scripts/setup.sh), wine64, Xvfb, Xorg with the dummy
# driver, xrandr, x11-utils, imagemagick, ffmpeg.

# shellcheck disable=SC2317  # cleanup and the wait_for checks are called indirectly
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
scr=""
art=""
out="$repo/out"
seconds=6
build_root="$repo/build"
to_docs=0
with_cat=0
monitors=0
wallpaper=0

usage() {
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}"
    exit "${1:-0}"
}

while [[ $# -gt 0 ]]; do
    case "$1" in
        --scr) scr=$2; shift 2 ;;
        --art) art=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --seconds) seconds=$2; shift 2 ;;
        --build-root) build_root=$2; shift 2 ;;
        --docs) to_docs=1; shift ;;
        --cat) with_cat=1; shift ;;
        --monitors) monitors=1; shift ;;
        --wallpaper) wallpaper=1; shift ;;
        -h | --help) usage 0 ;;
        *) echo "demo: unknown argument $1" >&2; usage 2 ;;
    esac
done

say() { echo "demo: $*" >&2; }
die() { say "$*"; exit 1; }

[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || die "--seconds wants a whole number of seconds"
((monitors + wallpaper + with_cat <= 1)) || die "--cat, --monitors and --wallpaper go one at a time"
for tool in cmake Xvfb xdpyinfo xwininfo display import convert ffmpeg; do
    command -v "$tool" >/dev/null || die "$tool not found (run scripts/setup.sh)"
done

# ---- build --------------------------------------------------------------------------------------

build() {  # build PRESET TARGET; its output shows only when it fails
    local dir="$build_root/$1"
    mkdir -p "$dir"
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
        say "configuring $1 in $dir"
        cmake --preset "$1" -S "$repo" -B "$dir" >"$dir/demo-configure.log" 2>&1 ||
            die "configuring $1 failed: $(cat "$dir/demo-configure.log")"
    fi
    say "building $2 ($1)"
    cmake --build "$dir" --target "$2" -j2 >"$dir/demo-build.log" 2>&1 ||
        die "building $2 failed: $(cat "$dir/demo-build.log")"
}

if [[ -z "$art" ]]; then
    build native gloam_art
    art="$build_root/native/tools/art/gloam_art"
fi
if [[ -z "$scr" ]]; then
    build win64 GloamDrift
    scr="$build_root/win64/GloamDrift.scr"
fi
[[ -x "$art" ]] || die "$art is not an executable"
[[ -f "$scr" ]] || die "$scr not found"
scr=$(cd "$(dirname "$scr")" && pwd -P)/$(basename "$scr")

# ---- the virtual screen -------------------------------------------------------------------------

work=$(mktemp -d "${TMPDIR:-/tmp}/gloam-demo.XXXXXX")
# A Wine prefix of its own: the demo's display must not be mixed into the e2e tests' wineserver.
export GLOAM_WINE_HOME="${GLOAM_DEMO_WINE_HOME:-$build_root/demo-wine}"
xvfb_pid=""
saver_pid=""
grab_pid=""

cleanup() {
    local rc=$?
    set +e
    [[ -n "$grab_pid" ]] && kill "$grab_pid" 2>/dev/null && wait "$grab_pid" 2>/dev/null
    if [[ -n "$saver_pid" ]]; then
        # Ends the saver with every Wine process of the demo's prefix.
        "$repo/cmake/wine-run.sh" --stop >/dev/null 2>&1
        kill "$saver_pid" 2>/dev/null
        wait "$saver_pid" 2>/dev/null
    fi
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=cmake/x-server.sh
source "$repo/cmake/x-server.sh"
if ((monitors)); then
    x_server_start /dev/null Xorg -config "$repo/cmake/xorg-dummy.conf" \
        -logfile "$work/xorg.log" -noreset -nolisten tcp -ac -novtswitch
else
    x_server_start "$work/xvfb.log" Xvfb -screen 0 1024x768x24 -nolisten tcp -ac -noreset
fi || die "the X server did not start"
xvfb_pid=$X_SERVER_PID
export DISPLAY=$X_SERVER_DISPLAY GLOAM_WINE_DISPLAY=$X_SERVER_DISPLAY
screen_size=1024x768
if ((monitors)); then
    # 800x600 left of the primary, 1280x720 right of it; X counts from the left monitor.
    xrandr --fb 3104x768 --output DUMMY1 --mode 800x600 --pos 0x0 \
        --output DUMMY0 --mode 1024x768 --pos 800x0 --primary \
        --output DUMMY2 --mode 1280x720 --pos 1824x0 --output DUMMY3 --off ||
        die "xrandr could not arrange three monitors"
    screen_size=3104x768
fi
say "virtual screen $DISPLAY ($screen_size)"

if ((wallpaper)); then
    # Nothing of the user's desktop shows on the screen saver's: a grey root window, so that the
    # saver's black is told apart from it.
    convert -size "$screen_size" xc:'#808080' "BMP3:$work/desktop.bmp"
else
    "$art" sample-desktop "$work/desktop.bmp" "${screen_size%x*}" "${screen_size#*x}" >/dev/null
fi
if ((monitors)); then
    # Where no monitor is, nobody sees the root window: grey there, so the still shows it.
    convert "$work/desktop.bmp" -fill '#303030' -draw 'rectangle 0,600 799,767' \
        -draw 'rectangle 1824,720 3103,767' "$work/desktop.bmp"
fi
# ImageMagick's display exits with 1 after setting the root window; check the result instead.
display -window root "$work/desktop.bmp" >/dev/null 2>&1 || true

# The primary monitor's top-left pixel, which the display blacks out at once.
origin=+0+0
((monitors)) && origin=+800+0
pixel_at_origin() {
    import -window root -crop "1x1$origin" +repage -depth 8 txt:- 2>/dev/null | tail -n1 |
        grep -o '#[0-9A-Fa-f]\{6\}' | head -n1
}
desktop_origin=$(pixel_at_origin)
[[ -n "$desktop_origin" && "$desktop_origin" != "#000000" ]] ||
    die "the sample desktop did not reach the root window"

# ---- the screen saver ---------------------------------------------------------------------------

if [[ -f "$GLOAM_WINE_HOME/prefix.ready" ]]; then
    say "starting GloamDrift.scr /S under wine64"
else
    say "starting GloamDrift.scr /S under wine64 (first preparing a Wine prefix in $GLOAM_WINE_HOME)"
fi
if ((wallpaper)); then
    "$art" sample-wallpaper "$work/wallpaper.bmp" 1600 900 >/dev/null
    windows_path() { printf 'Z:%s' "${1//\//\\}"; }
    for value in "Wallpaper=$(windows_path "$work/wallpaper.bmp")" WallpaperStyle=10 TileWallpaper=0; do
        "$repo/cmake/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v "${value%%=*}" \
            /d "${value#*=}" /f >>"$work/saver.log" 2>&1 || die "cannot set the wallpaper"
    done
    "$repo/cmake/wine-run.sh" explorer /desktop=Screen-saver,1024x768 "$(windows_path "$scr")" /S \
        </dev/null >>"$work/saver.log" 2>&1 &
else
    "$repo/cmake/wine-run.sh" "$scr" /S </dev/null >"$work/saver.log" 2>&1 &
fi
saver_pid=$!

wait_for() {  # wait_for SECONDS COMMAND...: polls every 0.1 s
    local limit=$(($1 * 10))
    shift
    for ((i = 0; i < limit; i++)); do
        "$@" && return 0
        kill -0 "$saver_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
saver_window() { xwininfo -root -tree 2>/dev/null | grep -q '"Gloam Drift Screen Saver"'; }
blacked_out() { [[ "$(pixel_at_origin)" == "#000000" ]]; }

if ((wallpaper)); then
    # Wine draws a desktop of its own inside one X window, where the saver's window is no X window.
    wait_for 240 blacked_out || die "the screen saver did not black out the screen"
else
    wait_for 240 saver_window || die "no screen saver window appeared: $(tail -n5 "$work/saver.log")"
fi
# The saver took its start time before its window showed.
shown_at=$(date +%s)
wait_for 20 blacked_out || die "the screen saver did not black out the screen"

if ((monitors)); then
    # One still of all three monitors once the spot is well inside the primary.
    sleep 2
    import -window root "$work/monitors.png" || die "cannot grab the screen"
    mkdir -p "$out"
    cp "$work/monitors.png" "$out/several-monitors.png"
    echo "$out/several-monitors.png"
    if [[ $to_docs == 1 ]]; then
        mkdir -p "$repo/docs"
        cp "$work/monitors.png" "$repo/docs/several-monitors.png"
        echo "$repo/docs/several-monitors.png"
    fi
    exit 0
fi

say "recording $seconds s"
mkdir -p "$work/frames"
ffmpeg -nostdin -loglevel error -f x11grab -draw_mouse 0 -framerate 10 -video_size 1024x768 \
    -i "$DISPLAY" -t "$seconds" "$work/frames/%03d.png" &
grab_pid=$!
wait "$grab_pid" || die "ffmpeg could not record the screen"
grab_pid=""
kill -0 "$saver_pid" 2>/dev/null || die "the screen saver ended during the recording"

# ---- results ------------------------------------------------------------------------------------

frames=("$work"/frames/*.png)
[[ ${#frames[@]} -ge 2 ]] || die "recorded ${#frames[@]} frames"
mkdir -p "$out"
name=demo
((wallpaper)) && name=screen-saver-desktop
ffmpeg -nostdin -loglevel error -y -framerate 10 -i "$work/frames/%03d.png" \
    -vf "scale=512:384:flags=lanczos,split[a][b];[a]palettegen=stats_mode=full[p];[b][p]paletteuse=dither=none" \
    -loop 0 "$out/$name.gif"

# The still: the frame whose spot shows the most detail (edges: window frames, icons, text); over
# the wallpaper, the one that shows the most of its sun, then the most detail.
sun_pixels() {
    convert "$1" -fuzz 4% -fill white -opaque '#FFD666' -fill black +opaque white \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}
best=""
best_detail=-1
for f in "${frames[@]}"; do
    n=$(convert "$f" -colorspace gray -edge 1 -format '%[fx:round(mean*1000000)]' info: 2>/dev/null ||
        echo 0)
    ((wallpaper)) && n=$(($(sun_pixels "$f") * 1000000 + n))
    if ((n > best_detail)); then
        best=$f
        best_detail=$n
    fi
done
still=demo-frame.png
((wallpaper)) && still=$name.png
cp "$best" "$out/$still"
if [[ $to_docs == 1 ]]; then
    mkdir -p "$repo/docs"
    cp "$best" "$repo/docs/$still"
fi

echo "$out/$name.gif"
echo "$out/$still"
[[ $to_docs == 1 ]] && echo "$repo/docs/$still"

# ---- the cats -----------------------------------------------------------------------------------

# Pixels of a frame that are lit but not the desktop's: what the saver stamped into its copy.
stamped_pixels() {
    convert "$1" "$work/desktop.bmp" -compose difference -composite \
        -separate -evaluate-sequence max -threshold 0 \
        \( "$1" -separate -evaluate-sequence max -threshold 0 \) \
        -compose multiply -composite -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}

if [[ $with_cat == 1 ]]; then
    # Third minute boundary after the start (time zones differ from UTC by whole minutes).
    due=$(((shown_at / 60 + 3) * 60 + 1))
    say "waiting $((due - $(date +%s))) s for the cats (the third clock minute of the run)"
    while (($(date +%s) < due)); do
        kill -0 "$saver_pid" 2>/dev/null || die "the screen saver ended while waiting"
        sleep 1
    done
    say "recording 20 s to catch a cat under the spot"
    mkdir -p "$work/cat"
    ffmpeg -nostdin -loglevel error -f x11grab -draw_mouse 0 -framerate 5 \
        -video_size 1024x768 -i "$DISPLAY" -t 20 "$work/cat/%03d.png" &
    grab_pid=$!
    wait "$grab_pid" || die "ffmpeg could not record the screen"
    grab_pid=""
    best=""
    best_count=0
    for f in "$work"/cat/*.png; do
        n=$(stamped_pixels "$f")
        if ((n > best_count)); then
            best=$f
            best_count=$n
        fi
    done
    [[ -n "$best" ]] || die "no cat passed under the spot in 20 s"
    say "a frame with $best_count cat pixels under the spot"
    cp "$best" "$out/demo-cat.png"
    echo "$out/demo-cat.png"
    if [[ $to_docs == 1 ]]; then
        cp "$best" "$repo/docs/demo-cat.png"
        echo "$repo/docs/demo-cat.png"
    fi
fi
exit 0
