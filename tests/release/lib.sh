# shellcheck shell=bash
# Shared by the release tests (sourced): check, skip and finish (tests/check.sh), the version,
# the clones.

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

# version_string SOURCE_DIR: GLOAM_VERSION_STRING of res/version.h.
version_string() {
    sed -nE 's/^#define GLOAM_VERSION_STRING "([^"]*)"$/\1/p' "$1/res/version.h"
}

# The two clean clones that release.build makes under the work folder, and their output.
clone_a() { echo "$1/a/GloamDrift"; }
clone_b() { echo "$1/the second/clone/GloamDrift"; }
