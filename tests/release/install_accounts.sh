#!/usr/bin/env bash
# What Wine cannot show by itself (every program runs there as an administrator of the account
# that runs the shell, on x64): the installer script built with SIMULATE_ACCOUNT=standard (the
# all-users part through "runas", the rest in the first process), SIMULATE_ACCOUNT=other (the
# user's steps left alone, "only for me" refused) and SIMULATE_MACHINE=43620 (ARM64: the x86
# build), run silently in a fresh 64-bit prefix.
#   tests/release/install_accounts.sh WORK_DIR
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
tmp="$work/install-accounts"
# shellcheck source=installer_lib.sh
source "$here/installer_lib.sh"

echo "=== a standard user: the all-users part runs again with rights, the rest as the user"
check "the installer script builds with SIMULATE_ACCOUNT=standard" variant standard -DSIMULATE_ACCOUNT=standard
RUN_SETUP="$tmp/standard-setup.exe" run_setup /S /AllUsers /CURRENT
check "/S /AllUsers /CURRENT exits 0" test "$rc" == 0
check "the 64-bit .scr is in C:\\windows\\system32" installed_is "$x64"
check "with its uninstall entry for all users" uninstaller_exists
check "SCRNSAVE.EXE is the installed file's short path" current_saver_is_installed_short_path
check "the uninstaller, run as the standard user, removes it again" uninstall "$uninstall_key"
check "and clears SCRNSAVE.EXE" no_current_saver
check "nothing for all users after it" nothing_for_all_users
RUN_SETUP="$tmp/standard-setup.exe" run_setup /S
check "/S alone exits 0" test "$rc" == 0
check "and installs only for the standard user" cmp -s "$user_scr" "$x64"
check "and nothing for all users" nothing_for_all_users
uninstall "$user_key"

reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
RUN_SETUP="$tmp/standard-setup.exe" run_setup /S /AllUsers
wine "$scr" /C >/dev/null 2>&1 &
wait_until_running
RUN_SETUP="$tmp/standard-setup.exe" run_setup /S /AllUsers /CURRENT
check "over a running .scr, the all-users part exits 3 (in use)" test "$rc" == 3
check "and its message reaches the first process's standard error" \
    says "$scr_win is in use" "Nothing was changed."
check "SCRNSAVE.EXE is left alone" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
stop_running
uninstall "$uninstall_key"

echo "=== run as another account than the signed-in user"
check "the installer script builds with SIMULATE_ACCOUNT=other" variant other -DSIMULATE_ACCOUNT=other
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
RUN_SETUP="$tmp/other-setup.exe" run_setup /S /AllUsers /CURRENT
check "/S /AllUsers /CURRENT exits 4 (installed, not made current)" test "$rc" == 4
check "says how to choose it" says "not made the current screen saver" "Screen saver"
check "the 64-bit .scr is installed for all users" installed_is "$x64"
check "SCRNSAVE.EXE, the other account's, is left alone" \
    reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
uninstall "$uninstall_key"
RUN_SETUP="$tmp/other-setup.exe" run_setup /S /CurrentUser
check "/S /CurrentUser exits 6 (refused)" test "$rc" == 6
check "installs nothing for that account" nothing_for_the_user

echo "=== ARM64 Windows gets the 32-bit build"
check "the installer script builds with SIMULATE_MACHINE=43620" variant arm64 -DSIMULATE_MACHINE=43620
RUN_SETUP="$tmp/arm64-setup.exe" run_setup /S /CurrentUser
check "/S /CurrentUser on ARM64 exits 0" test "$rc" == 0
check "and installs the 32-bit .scr" cmp -s "$user_scr" "$x86"
uninstall "$user_key"
echo "(not tested here: a real standard user, elevation as another account, SmartScreen: Wine runs"
echo " every program as an administrator; these builds take those paths instead)"
finish
