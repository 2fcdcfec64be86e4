#!/usr/bin/env bash
# The installer of the first release build of build.sh, run silently under Wine in a fresh 64-bit
# prefix: what it installs and registers, the installed .scr driven by the end-to-end tests,
# installing again and over an older copy, the uninstaller, and failed copies that change nothing.
#   tests/release/install.sh WORK_DIR E2E_EXE
#
# The installer is a 32-bit program. Where Wine cannot run 32-bit programs (a Linux kernel without
# 32-bit support), the same installer script is built as a 64-bit program and tested instead; that
# leaves out only the 32-bit installer's view of System32 through WOW64 redirection.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
e2e=$(realpath -m "${2:?gloam_e2e.exe}")
a=$(clone_a "$work")
root=$(cd "$here/../.." && pwd)
version=$(version_string "$a")
tmp="$work/install"
rm -rf "$tmp"
mkdir -p "$tmp"

export GLOAM_WINE_HOME="$tmp/wine"
wine() { "$root/cmake/wine-run.sh" "$@"; }
trap '"$root/cmake/wine-run.sh" --stop >/dev/null 2>&1' EXIT

drive_c="$GLOAM_WINE_HOME/prefix/drive_c"
system32="$drive_c/windows/system32"
syswow64="$drive_c/windows/syswow64"
scr="$system32/GloamDrift.scr"
program_dir="$drive_c/Program Files/GloamDrift"
scr_win='C:\windows\system32\GloamDrift.scr'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\GloamDrift'
desktop_key='HKCU\Control Panel\Desktop'
settings_key='HKCU\Software\GloamDriftSCR\Setting'
foreign_saver='C:\windows\system32\other.scr'

unzip -q "$a/dist/GloamDrift-$version.zip" -d "$tmp/zip"
x64="$tmp/zip/x64/GloamDrift.scr"
x86="$tmp/zip/x86/GloamDrift.scr"

echo "=== a fresh prefix"
if wine "$x86" /X >"$tmp/probe.log" 2>&1; then
    setup="$a/dist/GloamDrift-$version-setup.exe"
    echo "testing the 32-bit installer $setup"
else
    echo "this Wine cannot run 32-bit programs (32-bit .scr: $(head -1 "$tmp/probe.log"));"
    echo "testing the same installer script built as a 64-bit program"
    (cd "$a" && env -u SOURCE_DATE_EPOCH GLOAM_NSIS_TARGET=amd64-unicode \
        GLOAM_BUILD_ROOT="$tmp/build" GLOAM_DIST="$tmp/dist" scripts/release.sh) \
        >"$tmp/build64.log" 2>&1 || {
        tail -40 "$tmp/build64.log"
        echo "FAIL building the 64-bit installer"
        exit 1
    }
    setup="$tmp/dist/GloamDrift-$version-setup.exe"
fi

# reg_get KEY NAME: prints the value's data; fails when there is none.
reg_get() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" 'BEGIN { FS = "    " } $2 == name { print $4; found = 1 } END { exit !found }'
}
reg_set() { wine reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
reg_has_key() { wine reg query "$1" >/dev/null 2>&1; }
reg_is() { [[ "$(reg_get "$1" "$2")" == "$3" ]]; }
# same_file WINDOWS_PATH UNIX_PATH: Windows resolves the path (long or short) to that file.
same_file() {
    local unix
    unix=$(wine winepath -u "$1" 2>/dev/null | tr -d '\r') && [[ -e "$unix" && "$unix" -ef "$2" ]]
}

# run_setup ARGS...: runs the installer; its exit code in $rc, standard error in $tmp/setup.err.
run_setup() {
    wine "$setup" "$@" >"$tmp/setup.out" 2>"$tmp/setup.err"
    rc=$?
}
# uninstall: the registered UninstallString with /S. The uninstaller runs on from a copy of itself,
# so wait (at most 30 s) until its entry is gone.
uninstall() {
    local command i
    command=$(reg_get "$uninstall_key" UninstallString) || return 1
    command=${command#\"}
    wine "${command%\"}" /S || return 1
    for ((i = 0; i < 60; i++)); do
        reg_has_key "$uninstall_key" || {
            sleep 1 # its last steps
            return 0
        }
        sleep 0.5
    done
    return 1
}

installed_is() { cmp -s "$scr" "$1"; }
# The names in a folder that hold "gloamdrift" in any case, one a line.
gloam_files() {
    local file
    for file in "$1"/*; do
        [[ "${file##*/}" =~ [Gg][Ll][Oo][Aa][Mm][Dd][Rr][Ii][Ff][Tt] ]] && echo "${file##*/}"
    done
    return 0
}
# One GloamDrift file among the screen savers, none among the 32-bit ones, no working copies.
one_copy() {
    [[ "$(gloam_files "$system32")" == GloamDrift.scr && -z "$(gloam_files "$syswow64")" ]]
}
nothing_installed() {
    ! reg_has_key "$uninstall_key" && [[ ! -e "$program_dir" ]] &&
        ! gloam_files "$system32" | grep -qvx GloamDrift.scr
}
# An 8.3 path: every part at most 8 characters, dot, at most 3, no blanks.
short_form() {
    local part backslash=\\
    IFS=$backslash read -ra parts <<<"${1#?:\\}"
    for part in "${parts[@]}"; do
        [[ "$part" =~ ^[^.\ ]{1,8}(\.[^.\ ]{1,3})?$ ]] || return 1
    done
}
icon_is_installed_scr() {
    local icon
    icon=$(reg_get "$uninstall_key" DisplayIcon) && [[ "$icon" == *,0 ]] && same_file "${icon%,0}" "$scr"
}
uninstaller_exists() {
    local command
    command=$(reg_get "$uninstall_key" UninstallString) || return 1
    [[ "$command" == \"*\" ]] && same_file "${command//\"/}" "$program_dir/uninstall.exe"
}
estimated_size_right() {
    local bytes
    bytes=$(($(stat -c %s "$scr") + $(stat -c %s "$program_dir/uninstall.exe")))
    reg_is "$uninstall_key" EstimatedSize "$(printf '0x%x' $(((bytes + 1023) / 1024)))"
}
no_current_saver() { ! reg_get "$desktop_key" SCRNSAVE.EXE >/dev/null; }
settings_are() { reg_is "$settings_key" Speed "$1" && reg_is "$settings_key" Size "$2"; }
# says TEXT...: the installer's standard error holds every TEXT.
says() {
    local text
    for text in "$@"; do
        grep -qF "$text" "$tmp/setup.err" || return 1
    done
}
current_saver_is_installed_short_path() {
    local value
    value=$(reg_get "$desktop_key" SCRNSAVE.EXE) && short_form "$value" && same_file "$value" "$scr"
}

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
# The display test with "/S" and the pointer jumps; at least those two must have run and passed.
drive_installed_scr() {
    local ran
    GLOAM_SCR="$scr_win" wine "$e2e" --gtest_brief=1 \
        --gtest_filter='Display/DisplayWindow.*/upper:ExitWatch/PointerJump.*' >"$tmp/e2e.log" 2>&1
    local rc=$?
    ran=$(tr -d '\r' <"$tmp/e2e.log" | sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p')
    [[ $rc == 0 && -n "$ran" && $ran -ge 2 ]] || {
        cat "$tmp/e2e.log"
        return 1
    }
}
check "$scr_win /S shows the display and ends on a pointer jump" drive_installed_scr

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
check "the uninstaller runs and its entry goes" uninstall
check "the .scr is removed" test ! -e "$scr"
check "the uninstaller and its folder are removed" test ! -e "$program_dir"
check "SCRNSAVE.EXE, which named the .scr, is cleared" no_current_saver
check "the user's settings stay" settings_are 2 0

echo "=== uninstall and a SCRNSAVE.EXE that names another file, or ours by its long path"
run_setup /S
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
uninstall
check "another screen saver stays current" reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
run_setup /S
reg_set "$desktop_key" SCRNSAVE.EXE "$scr_win"
uninstall
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
uninstall >/dev/null

echo "(not tested here: a user without administrator rights; Wine runs every program as one)"
finish
