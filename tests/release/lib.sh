# Shared by the release tests (sourced): one line per check, a closing count, the version.
# shellcheck shell=bash

passed=0
failed=0
skipped=0

# check DESCRIPTION COMMAND [ARGS...]: passes when the command succeeds.
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
        passed=$((passed + 1))
    else
        echo "FAIL $what"
        failed=$((failed + 1))
    fi
}

skip() {
    echo "skip $1"
    skipped=$((skipped + 1))
}

# The closing line; the exit code says whether every check passed.
finish() {
    echo "$passed passed, $failed failed, $skipped skipped"
    [[ $failed == 0 ]]
}

# version_string SOURCE_DIR: GLOAM_VERSION_STRING of res/version.h.
version_string() {
    sed -nE 's/^#define GLOAM_VERSION_STRING "([^"]*)"$/\1/p' "$1/res/version.h"
}

# version_quad SOURCE_DIR: the four numbers of res/version.h, dotted.
version_quad() {
    local part quad=""
    for part in MAJOR MINOR REVISION BUILD; do
        quad+=.$(sed -nE "s/^#define GLOAM_VERSION_$part ([0-9]+)\$/\1/p" "$1/res/version.h")
    done
    echo "${quad#.}"
}

# The two clean clones that release.build makes under the work folder, and their output.
clone_a() { echo "$1/a/GloamDrift"; }
clone_b() { echo "$1/the second/clone/GloamDrift"; }
