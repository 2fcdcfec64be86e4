#!/usr/bin/env bash
# Soak of the display: GloamDrift.scr /S for N minutes on a 1920x1080 primary monitor while a
# second one (1280x720, right of it) is unplugged and plugged again every few seconds and the
# display is switched off and on now and then (the system's report, sent by gloam_saver_probe.exe).
#
#   bench/soak.sh [--wine 8|10] [--build DIR] [--minutes N] [--plug S] [--every S] [--dark S] [--sample S]
#                 [--warm MINUTES]
#
# Defaults: 60 minutes; the second monitor unplugged or plugged every --plug 4 s; the display off
# for --dark 20 s every --every 150 s; a sample every --sample 60 s; growth judged after the first
# --warm 5 minutes. A sample is taken docked, 3 s after the
# second monitor came back: the display's top-level windows (visible/all), GDI and USER objects
# and handles (GetGuiResources, GetProcessHandleCount: "-" where Wine does not answer), its RSS
# (/proc), the wineserver's RSS, and the CPU of the display, the wineserver and the X server over
# the last interval (share of one core). Prints a table; fails when the display ended, when a
# docked sample shows other than one window per monitor, or when, from the warm-up's end to the
# last minutes, a count grew or a memory grew by more than 4 MiB. A benchmark, not a test: the
# figures go into the README.
#
# Its own Xorg (the dummy driver of cmake/xorg-dummy.conf, four outputs) and Wine prefix live in
# DIR/soak-bench; nothing touches the pointer after the start, as input ends the display.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/wine_display.sh
source "$here/wine_display.sh"
build="$here/../build/win64"
minutes=60
plug=4
every=150
dark=20
sample=60
warm=5

bench_options "[--wine 8|10] [--build DIR] [--minutes N] [--plug S] [--every S] [--dark S] [--sample S] [--warm N]" build minutes plug every dark \
    sample warm -- "$@"
build=$(cd "$build" && pwd)
scr="$build/GloamDrift.scr"
probe="$build/bench/gloam_saver_probe.exe"
conf="$here/../cmake/xorg-dummy.conf"
[[ -f "$scr" ]] || bench_die "$scr not found (cmake --build $build)"
[[ -f "$probe" ]] || bench_die "$probe not found (cmake --build $build)"
command -v Xorg >/dev/null || bench_die "Xorg not found (run scripts/setup.sh)"
state=$(bench_state "$build" soak-bench)
mkdir -p "$state"

saver=
cleanup() {
    bench_end saver
    if [[ -n "${WINEPREFIX:-}" ]]; then bench_stop_wine; fi
    bench_end X_SERVER_PID
}
trap cleanup EXIT
trap 'exit 130' INT TERM

: >"$state/xorg.log"
x_server_start "$state/xorg.log" setsid Xorg -config "$conf" -logfile "$state/xorg-server.log" \
    -noreset -nolisten tcp -ac -novtswitch || bench_die "Xorg did not start (see $state/xorg.log)"
export DISPLAY=$X_SERVER_DISPLAY

layout() {
    local second=(--output DUMMY1 --off) fb=1920x1080
    if [[ $1 == docked ]]; then
        second=(--output DUMMY1 --mode 1280x720 --pos 1920x0)
        fb=3200x1080
    fi
    xrandr --fb "$fb" --output DUMMY0 --mode 1920x1080 --pos 0x0 --primary "${second[@]}" \
        --output DUMMY2 --off --output DUMMY3 --off
}
layout docked || bench_die "xrandr could not arrange the monitors"

bench_prefix "$state"
key='HKCU\Software\GloamDriftSCR\Setting'
"$wine" reg add "$key" /v Speed /t REG_SZ /d 1 /f </dev/null >/dev/null 2>&1
"$wine" reg add "$key" /v Size /t REG_SZ /d 2 /f </dev/null >/dev/null 2>&1
# Its console output ends lines with CR LF.
probe() { "$wine" "$probe" "$@" </dev/null 2>>"$state/probe.log" | tr -d '\r'; }
# On the primary, where no monitor change moves it (the first Wine process of a fresh server may
# start before the desktop that carries the move out, hence the retries).
for ((i = 0; i < 20; i++)); do
    probe park 960 540 >/dev/null 2>&1 || true
    [[ $(probe where) == "960 540" ]] && break
    sleep 0.5
done
[[ $(probe where) == "960 540" ]] || bench_die "could not place the pointer on the primary"

"$wine" "$scr" /S </dev/null >"$state/saver.log" 2>&1 &
saver=$!
for ((i = 0; i < 100; i++)); do
    probe sample >/dev/null 2>&1 && break
    sleep 0.2
done
probe sample >/dev/null || bench_die "the display window did not show"
server=$(bench_wineserver_pid) || bench_die "no wineserver for $WINEPREFIX"

hz=$(getconf CLK_TCK)
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }
alive() { kill -0 "$saver" 2>/dev/null; }

printf '%6s %7s %7s %5s %5s %7s %10s %10s %7s %7s %7s\n' minute display windows gdi user handles \
    rss_KiB server_KiB scr_% server_% X_% >"$state/table"
cat "$state/table"
failures=()
start=$(date +%s)
end=$((start + minutes * 60))
next_sample=$((start + sample))
next_off=$((start + every))
on_at=0
off=0
last_t=$start
last_ticks=("$(bench_ticks "$saver")" "$(bench_ticks "$server")" "$(bench_ticks "$X_SERVER_PID")")
cycles=0
while (($(date +%s) < end)); do
    alive || {
        failures+=("the display ended after $(($(date +%s) - start)) s")
        break
    }
    layout alone >/dev/null 2>&1 || failures+=("xrandr failed")
    sleep "$plug"
    layout docked >/dev/null 2>&1 || failures+=("xrandr failed")
    cycles=$((cycles + 1))
    now=$(date +%s)
    if ((off == 0 && now >= next_off)); then
        probe off || failures+=("the off report could not be sent")
        off=1
        on_at=$((now + dark))
    elif ((off == 1 && now >= on_at)); then
        probe on || failures+=("the on report could not be sent")
        off=0
        next_off=$((now + every))
    fi
    if ((now >= next_sample)); then
        sleep 3
        read -r visible all gdi user handles _ _ < <(probe sample || echo "0 0 - - - - -")
        t=$(date +%s)
        ticks=("$(bench_ticks "$saver")" "$(bench_ticks "$server")" "$(bench_ticks "$X_SERVER_PID")")
        row=$(awk -v m="$(((t - start) / 60))" -v off="$off" -v w="$visible/$all" -v g="$gdi" \
            -v u="$user" -v h="$handles" -v r="$(rss "$saver")" -v sr="$(rss "$server")" \
            -v dt=$((t - last_t)) -v hz="$hz" -v a=$((ticks[0] - last_ticks[0])) \
            -v b=$((ticks[1] - last_ticks[1])) -v c=$((ticks[2] - last_ticks[2])) 'BEGIN {
                printf "%6d %7s %7s %5s %5s %7s %10d %10d %7.2f %7.2f %7.2f\n", m, off ? "off" : "on", \
                       w, g, u, h, r, sr, 100 * a / hz / dt, 100 * b / hz / dt, 100 * c / hz / dt }')
        echo "$row" | tee -a "$state/table"
        ((visible == 2)) || failures+=("minute $(((t - start) / 60)): $visible visible windows on 2 monitors")
        last_t=$t
        last_ticks=("${ticks[@]}")
        next_sample=$((next_sample + sample))
    else
        sleep "$plug"
    fi
done
echo "$cycles unplug/plug cycles in $((($(date +%s) - start) / 60)) minutes"

# Growth from the warm-up's end (the largest of its first three samples) to the end (the smallest
# of the last three): none for the counts, 4 MiB for the memories.
judge() {
    local column=$1 name=$2 allowed=$3
    awk -v col="$column" -v warm="$warm" -v name="$name" -v allowed="$allowed" '
        NR > 1 && $1 >= warm { if ($col == "-") dashes++; else v[++n] = $col }
        END {
            if (n == 0 && dashes > 0) { printf "%-14s not answered\n", name; exit 0 }
            if (n < 6) { printf "too few samples after the warm-up to judge %s\n", name; exit 1 }
            base = v[1]; for (i = 2; i <= 3; i++) if (v[i] > base) base = v[i]
            last = v[n]; for (i = n - 2; i < n; i++) if (v[i] < last) last = v[i]
            printf "%-14s from %d to %d\n", name, base, last
            exit (last - base > allowed) ? 1 : 0
        }' "$state/table"
}
for check in "4 gdi 0" "5 user 0" "6 handles 2" "7 rss_KiB 4096" "8 server_KiB 4096"; do
    read -r column name allowed <<<"$check"
    judge "$column" "$name" "$allowed" || failures+=("$name grew after minute $warm")
done

if ((${#failures[@]})); then
    printf 'FAILED: %s\n' "${failures[@]}"
    exit 1
fi
echo "passed"
