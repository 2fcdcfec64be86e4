#!/usr/bin/env bash
# Wineserver requests per frame of the running saver, by request name.
#
#   bench/server_requests.sh [--wine 8|10] [--build DIR] [--scr FILE] [--seconds N]
#
# Runs GloamDrift.scr /S (Speed 1, Size 2) with WINEDEBUG=+server on a private 1920x1080 Xvfb,
# in the same prefix as cpu_vs_peer.sh (DIR/cpu-bench), and counts, over 100 frames from the
# middle of the run, the requests of the saver's thread. A frame is one WM_TIMER (0x113) that the
# thread takes from its queue.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/wine_display.sh
source "$here/wine_display.sh"
build="$here/../build/win64"
scr=
seconds=10

bench_options "[--wine 8|10] [--build DIR] [--scr FILE] [--seconds N]" build scr seconds -- "$@"
build=$(cd "$build" && pwd)
scr=${scr:-$build/GloamDrift.scr}
[[ -f "$scr" ]] || bench_die "$scr not found (cmake --build $build)"
state=$(bench_state "$build" cpu-bench)
mkdir -p "$state"
log="$state/server.log"

bench_saver_display "$state"

# The wineserver that the saver starts inherits WINEDEBUG and logs every request of every client.
WINEDEBUG=+server "$wine" "$scr" /S </dev/null >/dev/null 2>"$log" &
# shellcheck disable=SC2034 # read by bench_stop_child
bench_child=$!
sleep "$seconds"
bench_stop_child

# The saver's thread is the one that takes the timer messages.
thread=$(grep -m1 -E '^[0-9a-f]{4}: get_message\(\) = 0 \{ win=[0-9a-f]+, msg=00000113' "$log" |
    cut -d: -f1) || bench_die "no timer message in $log"
mapfile -t ticks < <(grep -n -E "^$thread: get_message\(\) = 0 \{ win=[0-9a-f]+, msg=00000113" \
    "$log" | cut -d: -f1)
((${#ticks[@]} > 125)) || bench_die "only ${#ticks[@]} frames in $seconds s"
first=${ticks[20]}
last=${ticks[120]}
echo "wineserver requests of thread $thread over the 100 frames from frame 20:"
sed -n "${first},$((last - 1))p" "$log" |
    grep -E "^[0-9a-f]{4}: [a-z_]+\(" | grep -vE '^[0-9a-f]{4}: [a-z_]+\(\) = ' |
    awk -F'[:(]' -v t="$thread" '
        { name = substr($2, 2); all[$1]++; if ($1 == t) mine[name]++ }
        END {
            for (n in mine) { printf "  %-24s %5.2f per frame\n", n, mine[n] / 100; total += mine[n] }
            printf "  %-24s %5.2f per frame\n", "total", total / 100
            for (c in all) if (c != t) other += all[c]
            printf "  other threads and processes: %.2f per frame\n", other / 100
        }'
