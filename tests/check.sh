# shellcheck shell=bash
# Sourced by the shell tests (tests/static, tests/release): one line per check, a closing count.
#
#   check DESCRIPTION COMMAND [ARGS...]   passes when the command succeeds
#   skip DESCRIPTION                      a check that could not run here
#   finish                                the closing line; its status says whether all passed

passed=0
failed=0
skipped=0

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

finish() {
    echo "$passed passed, $failed failed, $skipped skipped"
    [[ $failed == 0 ]]
}
