#!/usr/bin/env bash
# Builds every preset and runs all of its tests:
#   native       unit tests of the portable core and the benchmark smoke test (host g++)
#   native-asan  the same under AddressSanitizer and UBSan
#   win32        the shipped i686 GloamDrift.scr, checked statically (this machine cannot run it)
#   win64        the x86_64 GloamDrift.scr, driven end to end under wine64 in Xvfb, and the
#                release tests (scripts/release.sh in two clean clones compared byte for byte, the
#                zip's contents, the installer under Wine; ctest label release_long)
# and then the libFuzzer targets in fuzz/ for a bounded time (GLOAM_FUZZ_SECONDS per target).
# Exits non-zero when any configure, build or test fails; the last line sums up all presets.
#
# Environment: GLOAM_PRESETS="native win64" runs only those; GLOAM_BUILD_ROOT=/some/dir builds
# in /some/dir/<preset> instead of build/<preset>; GLOAM_CTEST_ARGS adds ctest arguments (for
# instance "-LE long" to leave out the long end-to-end and release tests).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh || {
    echo "setup failed" >&2
    exit 1
}

presets=(${GLOAM_PRESETS:-native native-asan win32 win64})
jobs=2
failed_steps=()
summaries=()
total_passed=0
total_failed=0
started=$SECONDS

build_dir() {
    if [[ -n "${GLOAM_BUILD_ROOT:-}" ]]; then
        echo "$GLOAM_BUILD_ROOT/$1"
    else
        echo "$root/build/$1"
    fi
}

stop_wine() {
    local dir
    dir=$(build_dir win64)
    [[ -d "$dir/wine" ]] && "$root/cmake/wine-run.sh" --stop "$dir"
    return 0
}
trap stop_wine EXIT

for preset in "${presets[@]}"; do
    dir=$(build_dir "$preset")
    echo "=== $preset: configure ($dir)"
    mkdir -p "$dir"
    if ! cmake --preset "$preset" -B "$dir" >"$dir/configure.log" 2>&1; then
        cat "$dir/configure.log"
        failed_steps+=("$preset: configure")
        continue
    fi
    echo "=== $preset: build"
    if ! cmake --build "$dir" -j "$jobs"; then
        failed_steps+=("$preset: build")
        continue
    fi
    echo "=== $preset: test"
    log="$dir/ctest.log"
    # shellcheck disable=SC2086
    ctest --test-dir "$dir" --output-on-failure --no-tests=error ${GLOAM_CTEST_ARGS:-} 2>&1 |
        tee "$log"
    rc=${PIPESTATUS[0]}
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [[ -n "$summary" ]]; then
        failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
        total_failed=$((total_failed + failed))
        total_passed=$((total_passed + total - failed))
        summaries+=("$preset: $summary")
    else
        summaries+=("$preset: no ctest summary")
    fi
    if [[ $rc != 0 ]]; then
        failed_steps+=("$preset: tests")
    fi
done

if [[ " ${presets[*]} " == *" native "* ]]; then
    echo "=== fuzz"
    if GLOAM_FUZZ_SECONDS=${GLOAM_FUZZ_SECONDS:-30} fuzz/run.sh "$(build_dir fuzz)"; then
        summaries+=("fuzz: no fault found")
    else
        failed_steps+=("fuzz")
    fi
fi

echo
echo "=== summary ($((SECONDS - started)) s)"
for s in "${summaries[@]}"; do echo "$s"; done
for f in "${failed_steps[@]}"; do echo "FAILED $f"; done
echo "all: $total_passed passed, $total_failed failed"
[[ ${#failed_steps[@]} == 0 ]]
