#!/usr/bin/env bash
# The installer of the first release build of build.sh, run silently under Wine in a fresh 64-bit
# prefix, for all users: what it installs and registers, the installed .scr driven by the
# end-to-end tests, installing again and over an older copy, the uninstaller, and failed copies
# that change nothing.
#   tests/release/install.sh WORK_DIR E2E_EXE
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
e2e=$(realpath -m "${2:?gloam_e2e.exe}")
tmp="$work/install"
# shellcheck source=installer_lib.sh
source "$here/installer_lib.sh"

echo "=== silent install"
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
run_setup /S
check "/S exits 0" test "$rc" == 0
check "the 64-bit .scr is in C:\\windows\\system32" installed_is "$x64"
check "one copy, and none in C:\\windows\\syswow64" one_copy
check "uninstall entry: DisplayName" reg_is "$uninstall_key" DisplayName "Gloam Drift Screen Saver"
check "uninstall entry: DisplayVersion $version (res/version.h)" \
    reg_is "$uninstall_key" DisplayVersion "$version"
check "uninstall entry: Publisher" reg_is "$uninstall_key" Publisher "The GloamDrift developers"
check "uninstall entry: DisplayIcon names the installed .scr" icon_is_installed_scr
check "uninstall entry: UninstallString names the uninstaller" uninstaller_exists
check "uninstall entry: EstimatedSize is the two files in KiB" estimated_size_right
check "uninstall entry: NoModify" reg_is "$uninstall_key" NoModify 0x1
check "uninstall entry: NoRepair" reg_is "$uninstall_key" NoRepair 0x1
check "without /CURRENT, SCRNSAVE.EXE is left alone" \
    reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"

echo "=== the installed .scr, driven by the end-to-end tests"
check "$scr_win /S shows the display and the spot and ends on a pointer jump" \
    drive_scr "$e2e" "$scr_win" "$tmp/e2e.log" 64

echo "=== installing again, making it the current screen saver"
run_setup /S /CURRENT
check "/S /CURRENT exits 0" test "$rc" == 0
check "still one copy" one_copy
check "and it is the 64-bit .scr" installed_is "$x64"
check "SCRNSAVE.EXE is the installed file's short (8.3) path" current_saver_is_installed_short_path
check "the uninstall entry is still there" reg_is "$uninstall_key" DisplayVersion "$version"

echo "=== installing over an older copy"
printf 'an older GloamDrift.scr' >"$scr"
run_setup /S
check "/S over an older copy exits 0" test "$rc" == 0
check "the older copy is replaced by the 64-bit .scr" installed_is "$x64"
check "one copy after replacing" one_copy

echo "=== silent uninstall"
reg_set "$settings_key" Speed 2
reg_set "$settings_key" Size 0
check "the uninstaller runs and its entry goes" uninstall "$uninstall_key"
check "the .scr is removed" test ! -e "$scr"
check "the uninstaller and its folder are removed" test ! -e "$program_dir"
check "SCRNSAVE.EXE, which named the .scr, is cleared" no_current_saver
check "the user's settings stay" settings_are 2 0

echo "=== uninstall and a SCRNSAVE.EXE that names another file, or ours by its long path"
run_setup /S
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
uninstall "$uninstall_key"
check "another screen saver stays current" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
run_setup /S
reg_set "$desktop_key" SCRNSAVE.EXE "$scr_win"
uninstall "$uninstall_key"
check "the long path of ours is cleared" no_current_saver
check "nothing installed after the uninstalls" nothing_installed

echo "=== a copy that fails: a folder stands where the .scr goes"
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
mkdir "$scr"
run_setup /S /CURRENT
check "exits 2" test "$rc" == 2
check "says on standard error what failed and that nothing changed" \
    says "Could not replace $scr_win: " "Nothing was changed."
check "no uninstall entry, no uninstaller, no working copy" nothing_installed
check "SCRNSAVE.EXE is left alone" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
check "the folder is still there, empty" test -d "$scr" -a -z "$(ls -A "$scr")"
rmdir "$scr"

echo "=== a copy that fails over an installed older copy: the working copy cannot be written"
run_setup /S
printf 'an older GloamDrift.scr' >"$scr"
cp "$scr" "$tmp/older.scr"
mkdir "$scr.new"
run_setup /S /CURRENT
check "exits 2" test "$rc" == 2
check "says on standard error what failed and that nothing changed" \
    says "Could not write $scr_win.new: " "Nothing was changed."
check "the older copy is untouched" installed_is "$tmp/older.scr"
check "the uninstall entry and the uninstaller stay" uninstaller_exists
check "SCRNSAVE.EXE is left alone" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
rmdir "$scr.new"
uninstall "$uninstall_key" >/dev/null
finish
