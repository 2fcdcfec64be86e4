#!/usr/bin/env bash
# The installer of the first release build of build.sh, run silently under Wine in a fresh 64-bit
# prefix, only for the current user: what it installs and registers, /CURRENT, a running .scr that
# is left as it is, the uninstaller, /D=, and the command lines it refuses.
#   tests/release/install_user.sh WORK_DIR
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
tmp="$work/install-user"
# shellcheck source=installer_lib.sh
source "$here/installer_lib.sh"

echo "=== only for the current user"
check "the per-user folder is under %LOCALAPPDATA% ($user_dir_win)" \
    test -n "$local_app_data" -a -n "$user_dir"
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
run_setup /S /CurrentUser /CURRENT
check "/S /CurrentUser /CURRENT exits 0" test "$rc" == 0
check "the 64-bit .scr is in %LOCALAPPDATA%\\Programs\\GloamDrift" cmp -s "$user_scr" "$x64"
check "beside it only the uninstaller" only_our_files "$user_dir"
check "nothing for all users: no system32 copy, no HKLM entry" nothing_for_all_users
check "HKCU uninstall entry: DisplayName" reg_is "$user_key" DisplayName "Gloam Drift Screen Saver"
check "HKCU uninstall entry: DisplayVersion $version" reg_is "$user_key" DisplayVersion "$version"
check "HKCU uninstall entry: UninstallString names the uninstaller with /CurrentUser" \
    uninstaller_registered "$user_key" CurrentUser "$user_dir/uninstall.exe"
check "/CURRENT makes the per-user file the current screen saver" user_scr_is_current

echo "=== a running per-user .scr (the Screen Saver Settings' preview) is left alone"
# Windows refuses to write or replace a running program's file; so does Wine 8. The settings
# dialog (/C) stays open until it is closed, so it stands for the preview here.
cp "$x64" "$tmp/older.scr"
printf 'older' >>"$tmp/older.scr" # bytes after the image: still a program that runs
cp "$tmp/older.scr" "$user_scr"
wine "$user_scr" /C >/dev/null 2>&1 &
wait_until_running
check "the per-user .scr runs" test -n "$(running_scr_pids)"
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
run_setup /S /CurrentUser /CURRENT
check "installing over it exits 3 (in use)" test "$rc" == 3
check "says it is in use, names the Screen Saver Settings and that nothing changed" \
    says "$user_dir_win\\GloamDrift.scr is in use" "close the Screen Saver Settings" \
    "Nothing was changed."
check "the running file is untouched" cmp -s "$user_scr" "$tmp/older.scr"
check "no working copies beside it" only_our_files "$user_dir"
check "SCRNSAVE.EXE is left alone" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
wine "$user_dir/uninstall.exe" /CurrentUser /S "_?=$user_dir_win" >/dev/null 2>"$tmp/setup.err"
rc=$?
check "the uninstaller (run in place) exits 3 too" test "$rc" == 3
left_running_file() { cmp -s "$user_scr" "$tmp/older.scr" && reg_has_key "$user_key"; }
check "and leaves the file and the entry" left_running_file
stop_running
run_setup /S /CurrentUser
check "once it has ended, the same install exits 0" test "$rc" == 0
check "and replaces it with the 64-bit .scr" cmp -s "$user_scr" "$x64"

echo "=== per-user uninstall"
reg_set "$desktop_key" SCRNSAVE.EXE "$(wine winepath -w "$user_scr" 2>/dev/null | tr -d '\r')"
check "the per-user uninstaller runs and its entry goes" uninstall "$user_key"
check "the file, the uninstaller and their folder are removed" test ! -e "$user_dir"
check "SCRNSAVE.EXE, which named the file, is cleared" no_current_saver
run_setup /S /CurrentUser
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
uninstall "$user_key"
check "another screen saver stays current" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
check "nothing for the user after the uninstalls" nothing_for_the_user

echo "=== /D= and the command line"
run_setup /S '/D=C:\GloamDriftHere'
check "/S /D=C:\\GloamDriftHere exits 0" test "$rc" == 0
check "and installs only for the user, into that folder" only_our_files "$drive_c/GloamDriftHere"
check "and nothing for all users" nothing_for_all_users
check "its entry names the uninstaller there" \
    uninstaller_registered "$user_key" CurrentUser "$drive_c/GloamDriftHere/uninstall.exe"
uninstall "$user_key"
check "its uninstaller removes the folder" test ! -e "$drive_c/GloamDriftHere"
nothing_anywhere() { nothing_for_all_users && nothing_for_the_user && [[ ! -e "$drive_c/GloamDriftHere" ]]; }
for refused in "/AllUsers /D=C:\\GloamDriftHere" "/AllUsers /CurrentUser"; do
    # shellcheck disable=SC2086 # the switches
    run_setup /S $refused
    check "$refused exits 5 (refused)" test "$rc" == 5
    check "$refused says why and that nothing changed" says "Nothing was changed."
    check "$refused installs nothing" nothing_anywhere
done
finish
