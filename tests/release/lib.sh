# shellcheck shell=bash
# Shared by the release tests (sourced): check, skip and finish (tests/check.sh), the version,
# the clones.

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

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

# drive_scr E2E_EXE SCR_WIN LOG [64]: gloam_e2e.exe (through the caller's wine) drives the .scr
# at the Windows path SCR_WIN: the spot over the captured desktop, a pointer jump that it outlasts
# and one that ends it; with 64, also the display window with "/S" (its cursor probe is a 64-bit
# DLL, which a 32-bit .scr cannot load). Every one must run and pass; LOG keeps the output.
drive_scr() {
    local ran rc
    local cases=('SpotTest.NormalSpotShowsTheCapturedDesktopThroughTheMaskAndNothingElse'
        'ExitWatch/PointerJump.*/6_8_stays' 'ExitWatch/PointerJump.*/8_m7_ends')
    [[ "${4:-}" == 64 ]] && cases+=('Display/DisplayWindow.*/slash_S')
    GLOAM_SCR="$2" wine "$1" --gtest_brief=1 --gtest_filter="$(IFS=: && echo "${cases[*]}")" \
        >"$3" 2>&1
    rc=$?
    ran=$(tr -d '\r' <"$3" | sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p')
    [[ $rc == 0 && "$ran" == "${#cases[@]}" ]] || {
        cat "$3"
        return 1
    }
}
