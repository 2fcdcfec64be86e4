#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UBSan and the library's assertions)
# straight into a build folder and runs each for a bounded time.
#
#   fuzz/run.sh [BUILD_DIR]        default BUILD_DIR: build/fuzz
#
# Environment: GLOAM_FUZZ_SECONDS (default 30) per target; CLANGXX to pick the compiler.
# Exits 0 without fuzzing, saying why, when clang or its libFuzzer runtime is missing; exits 1 when
# a target finds a fault (the input that shows it is left in BUILD_DIR as crash-*).
# The committed seeds in fuzz/corpus are only read; what the runs learn stays in BUILD_DIR.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${GLOAM_FUZZ_SECONDS:-30}
targets=(parse_fuzz command_line_fuzz)
sources=(platform/numeric.cpp startup/settings.cpp startup/command_line.cpp)

cxx=${CLANGXX:-}
if [[ -z "$cxx" ]]; then
    for candidate in clang++ clang++-14 clang++-15 clang++-16; do
        if command -v "$candidate" >/dev/null 2>&1; then
            cxx=$candidate
            break
        fi
    done
fi
if [[ -z "$cxx" ]]; then
    echo "fuzz: skipped: no clang++ found (scripts/setup.sh installs clang and libclang-rt-14-dev)"
    exit 0
fi

mkdir -p "$build"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS -I"$root" -I"$root/res")

probe="$build/probe.cpp"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe"
if ! "$cxx" "${flags[@]}" "$probe" -o "$build/probe" >"$build/probe.log" 2>&1; then
    echo "fuzz: skipped: $cxx cannot link -fsanitize=fuzzer (libclang-rt-14-dev missing?); see $build/probe.log"
    exit 0
fi

status=0
for target in "${targets[@]}"; do
    echo "fuzz: building $target with $cxx"
    "$cxx" "${flags[@]}" "$root/fuzz/$target.cpp" "${sources[@]/#/$root/}" -o "$build/$target"

    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    seeds="$root/fuzz/corpus/${target%_fuzz}"
    log="$build/$target.log"
    echo "fuzz: running $target for ${seconds}s"
    if "$build/$target" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 \
        -timeout=10 -dict="$root/fuzz/gloam.dict" -artifact_prefix="$build/crash-$target-" \
        -print_final_stats=1 "$corpus" "$seeds" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
        echo "fuzz: $target: ${runs:-?} inputs in ${seconds}s, no fault"
    else
        status=1
        echo "fuzz: $target FAILED; the end of $log:"
        tail -40 "$log"
    fi
done
exit $status
