#!/usr/bin/env bash
# The installer of the first release build of build.sh, run silently under Wine in a fresh 64-bit
# prefix. For all users: what it installs and registers, the installed .scr driven by the
# end-to-end tests, installing again and over an older copy, the uninstaller, and failed copies
# that change nothing. Only for the current user: the same, /D=, and a running .scr that is left
# as it is. The command line's refusals. The paths that Wine cannot take by itself (a standard
# user, another account, ARM64 Windows) through the same script built with SIMULATE_* defines.
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
    stage="$a/build/release/stage"
    nsis_target=""
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
    stage="$tmp/build/release/stage"
    nsis_target=amd64-unicode
fi

# variant NAME DEFINES...: the same installer script built with DEFINES into $tmp/NAME-setup.exe.
variant() {
    local name=$1
    shift
    makensis -V1 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DVERSION_QUAD=$(version_quad "$a")" \
        "-DSTAGE=$stage" "-DOUTFILE=$tmp/$name-setup.exe" ${nsis_target:+"-DTARGET=$nsis_target"} \
        "$@" "$a/packaging/GloamDrift.nsi" >"$tmp/$name.log" 2>&1 || {
        cat "$tmp/$name.log"
        return 1
    }
}

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
# RUN_SETUP=<other installer> runs that one.
run_setup() {
    wine "${RUN_SETUP:-$setup}" "$@" >"$tmp/setup.out" 2>"$tmp/setup.err"
    rc=$?
}
# uninstall [KEY]: the QuietUninstallString registered under KEY (default: for all users). The
# uninstaller runs on from a copy of itself, so wait (at most 30 s) until its entry is gone.
uninstall() {
    local key=${1:-$uninstall_key} command program i
    command=$(reg_get "$key" QuietUninstallString) || return 1
    program=${command#\"}
    program=${program%%\"*}
    # shellcheck disable=SC2086 # the switches after the program's name
    wine "$program" ${command#\""$program"\"} || return 1
    for ((i = 0; i < 60; i++)); do
        reg_has_key "$key" || {
            sleep 1 # its last steps
            return 0
        }
        sleep 0.5
    done
    return 1
}

installed_is() { cmp -s "$scr" "$1"; }
# One GloamDrift file among the screen savers, none among the 32-bit ones, no working copies.
one_copy() {
    [[ "$(ls "$system32" | grep -i gloamdrift)" == GloamDrift.scr ]] &&
        ! ls "$syswow64" | grep -qi gloamdrift
}
nothing_installed() {
    ! reg_has_key "$uninstall_key" && [[ ! -e "$program_dir" ]] &&
        ! ls "$system32" | grep -i gloamdrift | grep -qvx GloamDrift.scr
}
# An 8.3 path: every part at most 8 characters, dot, at most 3, no blanks.
short_form() {
    local part
    IFS='\' read -ra parts <<<"${1#?:\\}"
    for part in "${parts[@]}"; do
        [[ "$part" =~ ^[^.\ ]{1,8}(\.[^.\ ]{1,3})?$ ]] || return 1
    done
}
icon_is_installed_scr() {
    local icon
    icon=$(reg_get "$uninstall_key" DisplayIcon) && [[ "$icon" == *,0 ]] && same_file "${icon%,0}" "$scr"
}
# uninstaller_registered KEY MODE UNIX_PATH: UninstallString is that uninstaller with /MODE.
uninstaller_registered() {
    local command program
    command=$(reg_get "$1" UninstallString) || return 1
    program=${command#\"}
    program=${program%%\"*}
    [[ "$command" == "\"$program\" /$2" ]] && same_file "$program" "$3"
}
uninstaller_exists() { uninstaller_registered "$uninstall_key" AllUsers "$program_dir/uninstall.exe"; }
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

echo "=== only for the current user"
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\GloamDrift'
local_app_data=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
user_dir_win="$local_app_data\\Programs\\GloamDrift"
user_dir=$(wine winepath -u "$user_dir_win" 2>/dev/null | tr -d '\r')
user_scr="$user_dir/GloamDrift.scr"
check "the per-user folder is under %LOCALAPPDATA% ($user_dir_win)" \
    test -n "$local_app_data" -a -n "$user_dir"
user_scr_is_current() {
    local value
    value=$(reg_get "$desktop_key" SCRNSAVE.EXE) && same_file "$value" "$user_scr"
}
nothing_for_all_users() { nothing_installed && [[ ! -e "$scr" ]]; }
nothing_for_the_user() { ! reg_has_key "$user_key" && [[ ! -e "$user_dir" ]]; }
only_our_files() {
    local files=("$1"/*)
    [[ "${files[*]##*/}" == "GloamDrift.scr uninstall.exe" ]]
}

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
prefix="$GLOAM_WINE_HOME/prefix"
# running_scr_pids: the Linux processes of this prefix's running GloamDrift.scr.
running_scr_pids() {
    local pid
    for pid in $(pgrep -f 'GloamDrift\.scr'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$pid"
    done
}
wine "$user_scr" /C >/dev/null 2>&1 &
for ((i = 0; i < 40; i++)); do
    [[ -n "$(running_scr_pids)" ]] && break
    sleep 0.5
done
sleep 1
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
for pid in $(running_scr_pids); do
    kill "$pid"
done
wait
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

echo "=== a standard user: the all-users part runs again with rights, the rest as the user"
variant standard -DSIMULATE_ACCOUNT=standard
RUN_SETUP="$tmp/standard-setup.exe" run_setup /S /AllUsers /CURRENT
check "/S /AllUsers /CURRENT exits 0" test "$rc" == 0
check "the 64-bit .scr is in C:\\windows\\system32" installed_is "$x64"
check "with its uninstall entry for all users" uninstaller_exists
check "SCRNSAVE.EXE is the installed file's short path" current_saver_is_installed_short_path
check "the uninstaller, run as the standard user, removes it again" uninstall
check "and clears SCRNSAVE.EXE" no_current_saver
check "nothing for all users after it" nothing_for_all_users
RUN_SETUP="$tmp/standard-setup.exe" run_setup /S
check "/S alone exits 0" test "$rc" == 0
check "and installs only for the standard user" cmp -s "$user_scr" "$x64"
check "and nothing for all users" nothing_for_all_users
uninstall "$user_key"

echo "=== run as another account than the signed-in user"
variant other -DSIMULATE_ACCOUNT=other
reg_set "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
RUN_SETUP="$tmp/other-setup.exe" run_setup /S /AllUsers /CURRENT
check "/S /AllUsers /CURRENT exits 4 (installed, not made current)" test "$rc" == 4
check "says how to choose it" says "not made the current screen saver" "Screen saver"
check "the 64-bit .scr is installed for all users" installed_is "$x64"
check "SCRNSAVE.EXE, the other account's, is left alone" \
    reg_is "$desktop_key" SCRNSAVE.EXE "$foreign_saver"
uninstall
RUN_SETUP="$tmp/other-setup.exe" run_setup /S /CurrentUser
check "/S /CurrentUser exits 6 (refused)" test "$rc" == 6
check "installs nothing for that account" nothing_for_the_user

echo "=== ARM64 Windows gets the 32-bit build"
variant arm64 -DSIMULATE_MACHINE=43620
RUN_SETUP="$tmp/arm64-setup.exe" run_setup /S /CurrentUser
check "/S /CurrentUser on ARM64 exits 0" test "$rc" == 0
check "and installs the 32-bit .scr" cmp -s "$user_scr" "$x86"
uninstall "$user_key"

echo "(not tested here: a real standard user, elevation as another account, SmartScreen:"
echo " Wine runs every program as an administrator; the SIMULATE_* builds take those paths)"
finish
