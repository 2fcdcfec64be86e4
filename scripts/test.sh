#!/usr/bin/env bash
# Builds every preset and runs all of its tests:
#   native       unit tests of the portable core, the benchmark smoke test, the art check (host g++)
#   native-asan  the same under AddressSanitizer and UBSan
#   win32        the shipped i686 GloamDrift.scr: static check, and the end-to-end suite under
#                32-bit Wine
#   win64        the x86_64 GloamDrift.scr: static check, the end-to-end suite under wine64, and
#                the release tests (scripts/release.sh in two clean clones compared byte for byte,
#                the zip's contents, the installer under Wine in both modes, a signed release;
#                ctest label release_long)
#   fuzz         the libFuzzer targets (clang), each for GLOAM_FUZZ_SECONDS
# Exits non-zero when any configure, build or test fails; the last line sums up all presets, with
# the tests that did not run and why.
#
# The end-to-end suites of win32 and win64 run once more under Debian 13's Wine 10, each beside its
# build's Wine 8 tests (summary lines win32-wine10, win64-wine10), unless GLOAM_WINE10_PRESETS
# names fewer builds ("" for none).
#
# Environment (DEVELOPERS.md has the table): GLOAM_PRESETS, GLOAM_BUILD_ROOT, GLOAM_CTEST_ARGS,
# GLOAM_FUZZ_SECONDS, GLOAM_WINE10_PRESETS.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
# shellcheck source=cmake/wine-env.sh
source "$root/cmake/wine-env.sh"

scripts/setup.sh || {
    echo "setup failed" >&2
    exit 1
}

read -ra presets <<<"${GLOAM_PRESETS:-native native-asan win32 win64 fuzz}"
jobs=2
failed_steps=()
summaries=()
notes=()
total_passed=0
total_failed=0
total_skipped=0
started=$SECONDS

build_dir() {
    echo "${GLOAM_BUILD_ROOT:-$root/build}/$1"
}

# The Wine and X servers the tests started end with this script, Ctrl-C included.
# shellcheck disable=SC2317  # runs from the traps
stop_wine() {
    local preset dir
    for preset in win32 win64; do
        dir=$(build_dir "$preset")
        [[ -d "$dir/wine" ]] && "$root/cmake/wine-run.sh" --stop "$dir"
        [[ -d "$dir/wine10" ]] && GLOAM_WINE=10 "$root/cmake/wine-run.sh" --stop "$dir"
    done
    return 0
}
trap stop_wine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Adds the counts of the ctest log LOG to the summary under NAME; RC is ctest's exit code.
tally() {
    local name=$1 log=$2 rc=$3 summary failed total skipped
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [[ -n "$summary" ]]; then
        failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
        # ctest counts a skipped test as not failed; it lists it as "(Skipped)".
        skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log")
        total_failed=$((total_failed + failed))
        total_skipped=$((total_skipped + skipped))
        total_passed=$((total_passed + total - failed - skipped))
        ((skipped > 0)) && summary+=", $skipped skipped"
        summaries+=("$name: $summary")
    else
        summaries+=("$name: no ctest summary")
    fi
    [[ $rc == 0 ]] || failed_steps+=("$name: tests")
}

# Runs ctest in DIR with the given arguments, showing its output, and tallies it under NAME.
run_tests() {
    local name=$1 dir=$2
    shift 2
    local log="$dir/ctest-$name.log"
    echo "=== $name: test"
    ctest --test-dir "$dir" --output-on-failure --no-tests=error "$@" 2>&1 | tee "$log"
    tally "$name" "$log" "${PIPESTATUS[0]}"
}

# Whether the end-to-end suite of PRESET runs under Wine 10 too; when it cannot, notes why and
# counts its tests as skipped.
wine10_why=$(GLOAM_WINE=10 bash -c 'source cmake/wine-env.sh && wine_available')
wants_wine10() {
    local preset=$1 dir=$2 count
    [[ $preset == win32 || $preset == win64 ]] || return 1
    [[ " ${GLOAM_WINE10_PRESETS-win32 win64} " == *" $preset "* ]] || return 1
    count=$(ctest --test-dir "$dir" -N -L e2e 2>/dev/null | sed -n 's/^Total Tests: *//p')
    local why=$wine10_why
    # shellcheck disable=SC2016  # expanded by the inner shell
    if [[ -z $why && $preset == win32 ]] &&
        ! GLOAM_WINE=10 bash -c 'source cmake/wine-env.sh && "$wine32" --version' >/dev/null 2>&1; then
        why="this machine cannot run 32-bit programs"
    fi
    if [[ -n $why ]]; then
        total_skipped=$((total_skipped + ${count:-0}))
        notes+=("$preset-wine10: ${count:-all} end-to-end tests skipped: $why")
        return 1
    fi
}

for preset in "${presets[@]}"; do
    dir=$(build_dir "$preset")
    read -ra ctest_args <<<"${GLOAM_CTEST_ARGS:-}"
    echo "=== $preset: configure ($dir)"
    mkdir -p "$dir"
    configure=(cmake --preset "$preset" -B "$dir")
    [[ $preset == fuzz && -n "${GLOAM_FUZZ_SECONDS:-}" ]] &&
        configure+=(-DGLOAM_FUZZ_SECONDS="$GLOAM_FUZZ_SECONDS")
    if ! "${configure[@]}" >"$dir/configure.log" 2>&1; then
        cat "$dir/configure.log"
        failed_steps+=("$preset: configure")
        continue
    fi
    echo "=== $preset: build"
    if ! cmake --build "$dir" -j "$jobs"; then
        failed_steps+=("$preset: build")
        continue
    fi

    # The 32-bit suite needs a machine that runs 32-bit programs, natively or through qemu
    # (scripts/setup.sh arranges that where it can). Where none runs, say so; never count them.
    if [[ $preset == win32 ]] && ! "$wine32" --version >/dev/null 2>&1; then
        not_run=$(ctest --test-dir "$dir" -N -L e2e 2>/dev/null |
            sed -n 's/^Total Tests: *//p')
        total_skipped=$((total_skipped + ${not_run:-0}))
        notes+=("win32: ${not_run:-all} end-to-end tests skipped: this machine cannot run 32-bit programs")
        ctest_args+=(-LE e2e)
    fi

    # Unit and fuzz tests share nothing: two at a time.
    [[ $preset == native* || $preset == fuzz ]] && ctest_args+=(-j "$jobs")

    # Under Debian 13's Wine 10 the end-to-end suite runs beside the Wine 8 tests, with its own
    # Wine home (<build>/wine10) and X server: the suites mostly wait for the screen, and side by
    # side they take half the time on two cores. Its output follows the Wine 8 tests'.
    wine10_pid=
    if wants_wine10 "$preset" "$dir"; then
        wine10_log="$dir/ctest-$preset-wine10.log"
        read -ra wine10_args <<<"${GLOAM_CTEST_ARGS:-}"
        GLOAM_WINE=10 ctest --test-dir "$dir" --output-on-failure --no-tests=error -L e2e \
            "${wine10_args[@]}" >"$wine10_log" 2>&1 &
        wine10_pid=$!
    fi
    run_tests "$preset" "$dir" "${ctest_args[@]}"
    if [[ -n $wine10_pid ]]; then
        wait "$wine10_pid"
        rc=$?
        echo "=== $preset-wine10: test"
        cat "$wine10_log"
        tally "$preset-wine10" "$wine10_log" "$rc"
        GLOAM_WINE=10 "$root/cmake/wine-run.sh" --stop "$dir"
    fi
    # The next preset's tests get the machine to themselves.
    [[ -d "$dir/wine" ]] && "$root/cmake/wine-run.sh" --stop "$dir"
done

echo
echo "=== summary ($((SECONDS - started)) s)"
for s in "${summaries[@]}"; do echo "$s"; done
for n in "${notes[@]}"; do echo "$n"; done
for f in "${failed_steps[@]}"; do echo "FAILED $f"; done
echo "all: $total_passed passed, $total_failed failed, $total_skipped skipped"
[[ ${#failed_steps[@]} == 0 ]]
