#!/usr/bin/env bash
# Live CPU of the screen saver against xscreensaver's spotlight, on one private 1920x1080 Xvfb.
#
#   bench/cpu_vs_peer.sh [--wine 8|10] [--build DIR] [--seconds N] [--runs N]
#
# Each run measures, from /proc/<pid>/stat (utime + stime), over N seconds after a warm-up:
#   saver: GloamDrift.scr /S (Speed 1, Size 2) + the wineserver of its prefix + the X server
#   off:   the same with the display reported off (gloam_saver_probe.exe off, after the warm-up)
#   floor: gloam_tick_floor.exe (a 20 ms tick that reads the cursor and the clock and lets
#          pending events run, drawing nothing) + its wineserver + the X server
#   peer:  spotlight --root --delay 20000 --radius 200 + the X server
# and prints each as a share of one core and the ratios to the peer; after all runs, the median
# ratio saver / peer and the median of the saver with the display off.
# The prefix lives in DIR/cpu-bench (created once). Nothing touches the pointer or the keyboard
# of that display, as the saver ends on input. A benchmark, not a test: figures in the README.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/wine_display.sh
source "$here/wine_display.sh"
build="$here/../build/win64"
seconds=20
runs=3
warmup=5

bench_options "[--wine 8|10] [--build DIR] [--seconds N] [--runs N]" build seconds runs -- "$@"
build=$(cd "$build" && pwd)
scr="$build/GloamDrift.scr"
floor="$build/bench/gloam_tick_floor.exe"
probe="$build/bench/gloam_saver_probe.exe"
peer=/usr/libexec/xscreensaver/spotlight
[[ -f "$scr" ]] || bench_die "$scr not found (cmake --build $build)"
[[ -f "$floor" ]] || bench_die "$floor not found (cmake --build $build)"
[[ -f "$probe" ]] || bench_die "$probe not found (cmake --build $build)"
[[ -x "$peer" ]] || bench_die "$peer not found (run scripts/setup.sh: xscreensaver-data-extra)"
state=$(bench_state "$build" cpu-bench)
mkdir -p "$state"

bench_saver_display "$state"

hz=$(getconf CLK_TCK)
now() { date +%s.%N; }

# Samples the given pids over `seconds`; prints each one's share of one core, in percent.
sample() {
    local -a before after
    local pid t0 t1 i
    for pid in "$@"; do before+=("$(bench_ticks "$pid")"); done
    t0=$(now)
    sleep "$seconds"
    for pid in "$@"; do after+=("$(bench_ticks "$pid")"); done
    t1=$(now)
    for ((i = 0; i < $#; i++)); do
        awk -v d=$((after[i] - before[i])) -v hz="$hz" -v t0="$t0" -v t1="$t1" \
            'BEGIN { printf "%.3f ", 100 * d / hz / (t1 - t0) }'
    done
    echo
}

# Runs a Windows program for the warm-up and the sample; prints program, wineserver, X shares.
# With `off` first, the display is reported off after the warm-up.
sample_wine() {
    local server off=
    if [[ $1 == off ]]; then
        off=1
        shift
    fi
    # A fresh session learns where the pointer is before the program starts (Wine 10 reports
    # (0, 0) until then, and the saver would end on the jump).
    "$wine" "$probe" park 960 540 </dev/null >"$state/wine.log" 2>&1 ||
        bench_die "the pointer could not be placed (see $state/wine.log)"
    "$wine" "$@" </dev/null >>"$state/wine.log" 2>&1 &
    bench_child=$!
    sleep "$warmup"
    kill -0 "$bench_child" 2>/dev/null || bench_die "$1 ended early (see $state/wine.log)"
    if [[ -n $off ]]; then
        "$wine" "$probe" off </dev/null >>"$state/wine.log" 2>&1 ||
            bench_die "the display could not be reported off (see $state/wine.log)"
        sleep 1
    fi
    server=$(bench_wineserver_pid) || bench_die "no wineserver for $WINEPREFIX"
    sample "$bench_child" "$server" "$XVFB_PID"
    bench_stop_child
    bench_stop_wine
}

ratios=()
floors=()
offs=()
for ((run = 1; run <= runs; run++)); do
    sample_wine "$scr" /S >"$state/sample"
    read -r scr_cpu server_cpu x_cpu <"$state/sample"
    sample_wine off "$scr" /S >"$state/sample"
    read -r off_cpu off_server_cpu off_x_cpu <"$state/sample"
    sample_wine "$floor" >"$state/sample"
    read -r floor_cpu floor_server_cpu floor_x_cpu <"$state/sample"

    "$peer" --root --delay 20000 --radius 200 </dev/null >"$state/peer.log" 2>&1 &
    bench_child=$!
    sleep "$warmup"
    kill -0 "$bench_child" 2>/dev/null || bench_die "the peer ended early (see $state/peer.log)"
    sample "$bench_child" "$XVFB_PID" >"$state/sample"
    read -r peer_cpu x2_cpu <"$state/sample"
    bench_stop_child

    line=$(awk -v s="$scr_cpu" -v w="$server_cpu" -v x="$x_cpu" \
        -v f="$floor_cpu" -v fw="$floor_server_cpu" -v fx="$floor_x_cpu" \
        -v o="$off_cpu" -v ow="$off_server_cpu" -v ox="$off_x_cpu" \
        -v p="$peer_cpu" -v x2="$x2_cpu" -v n="$run" 'BEGIN {
            saver = s + w + x; fl = f + fw + fx; other = p + x2; off = o + ow + ox
            printf "run %d: saver %.2f %% (scr %.2f + wineserver %.2f + X %.2f)  " \
                   "off %.2f %% (%.2f + %.2f + %.2f)  " \
                   "floor %.2f %% (%.2f + %.2f + %.2f)  peer %.2f %% (spotlight %.2f + X %.2f)  " \
                   "floor/peer %.2f  saver/peer %.2f\n", n, saver, s, w, x, off, o, ow, ox, \
                   fl, f, fw, fx, other, p, x2, fl / other, saver / other }')
    echo "$line"
    offs+=("$(awk '{ for (i = 1; i < NF; i++) if ($i == "off") print $(i + 1) }' <<<"$line")")
    ratios+=("${line##* }")
    floors+=("$(awk '{ for (i = 1; i < NF; i++) if ($i == "floor/peer") print $(i + 1) }' <<<"$line")")
done

median() {
    sort -g | awk '{ r[NR] = $1 } END { printf "%.2f", (NR % 2) ? r[(NR + 1) / 2] \
                                                          : (r[NR / 2] + r[NR / 2 + 1]) / 2 }'
}
echo "median ratio saver / peer: $(printf '%s\n' "${ratios[@]}" | median) over $runs runs" \
    "(floor / peer: $(printf '%s\n' "${floors[@]}" | median))"
echo "median saver with the display off: $(printf '%s\n' "${offs[@]}" | median) % of one core"

