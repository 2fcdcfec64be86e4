#!/usr/bin/env bash
# Makes two clean clones of the source's current commit in two folders and runs
# scripts/release.sh in each, at least a minute apart, with a different time zone and umask, so that
# anything of the time, the place or the person that leaks into the output makes them differ.
#   tests/release/build.sh WORK_DIR SOURCE_DIR
# Uncommitted changes in SOURCE_DIR are not in the clones.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
source_dir=${2:?source folder}
revision=$(git -C "$source_dir" rev-parse HEAD) || exit 1

rm -rf "$work"
mkdir -p "$work"
echo "release build of $revision in two clones"

# build NAME FOLDER TZ UMASK
build() {
    local name=$1 dir=$2 zone=$3 mask=$4
    mkdir -p "$(dirname "$dir")"
    git clone --quiet --no-checkout "$source_dir" "$dir" &&
        git -C "$dir" checkout --quiet --detach "$revision" || return 1
    echo "=== $name: $dir (TZ=$zone, umask $mask)"
    (
        cd "$dir" &&
            umask "$mask" &&
            env -u SOURCE_DATE_EPOCH -u GLOAM_BUILD_ROOT -u GLOAM_DIST -u GLOAM_NSIS_TARGET \
                TZ="$zone" scripts/release.sh
    ) >"$work/$name.log" 2>&1
    local rc=$?
    tail -3 "$work/$name.log"
    if [[ $rc != 0 ]]; then
        echo "--- $name failed; the end of its log:"
        tail -40 "$work/$name.log"
    fi
    return $rc
}

started=$SECONDS
check "release.sh builds the first clone" build first "$(clone_a "$work")" UTC 022
wait=$((started + 61 - SECONDS))
if ((wait > 0)); then
    echo "waiting $wait s, so that the two builds are a minute apart"
    sleep "$wait"
fi
check "release.sh builds the second clone" build second "$(clone_b "$work")" Asia/Tokyo 077
finish
