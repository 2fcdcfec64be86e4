# Shared by the installer tests (sourced after lib.sh, with $work and $tmp set): a fresh Wine
# prefix of their own in $tmp/wine, the release's two .scr files, the installer to test, the
# installer script built again with other defines, and what they look at in the prefix.
#
# The installer is a 32-bit program. Where Wine cannot run 32-bit programs (a Linux kernel without
# 32-bit support), the same installer script is built as a 64-bit program and tested instead; that
# leaves out only the 32-bit installer's view of System32 through WOW64 redirection.
# shellcheck shell=bash disable=SC2034,SC2154 # variables for and from the scripts that source this

: "${here:?}" "${work:?}" "${tmp:?}"
a=$(clone_a "$work")
root=$(cd "$here/../.." && pwd)
version=$(version_string "$a")
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

echo "=== a fresh prefix"
stage="$a/build/release/stage"
if wine "$x86" /X >"$tmp/probe.log" 2>&1; then
    setup="$a/dist/GloamDrift-$version-setup.exe"
    nsis_target=""
    echo "testing the 32-bit installer $setup"
else
    echo "this Wine cannot run 32-bit programs (32-bit .scr: $(head -1 "$tmp/probe.log"));"
    echo "testing the same installer script built as a 64-bit program"
    nsis_target=amd64-unicode
    variant release || {
        echo "FAIL building the 64-bit installer"
        exit 1
    }
    setup="$tmp/release-setup.exe"
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
# RUN_SETUP=<other installer> runs that one.
run_setup() {
    wine "${RUN_SETUP:-$setup}" "$@" >"$tmp/setup.out" 2>"$tmp/setup.err"
    rc=$?
}
# uninstall KEY: the QuietUninstallString registered under KEY ($uninstall_key or $user_key). The
# uninstaller runs on from a copy of itself, so wait (at most 30 s) until its entry is gone.
uninstall() {
    local key=$1 command program i
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
# gloam_names FOLDER: the names in FOLDER that hold "gloamdrift", in any case, one a line.
gloam_names() {
    (
        shopt -s nullglob nocaseglob
        cd "$1" || exit
        for name in *gloamdrift*; do
            echo "$name"
        done
    )
}
# One GloamDrift file among the screen savers, none among the 32-bit ones, no working copies.
one_copy() { [[ "$(gloam_names "$system32")" == GloamDrift.scr && -z "$(gloam_names "$syswow64")" ]]; }
nothing_installed() {
    ! reg_has_key "$uninstall_key" && [[ ! -e "$program_dir" ]] &&
        ! gloam_names "$system32" | grep -qvx GloamDrift.scr
}
# An 8.3 path: every part at most 8 characters, dot, at most 3, no blanks.
short_form() {
    local part
    while IFS= read -r part; do
        [[ "$part" =~ ^[^.\ ]{1,8}(\.[^.\ ]{1,3})?$ ]] || return 1
    done < <(tr "\\\\" '\n' <<<"${1#?:\\}")
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

# Only for the current user.
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\GloamDrift'
local_app_data=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
user_dir_win="$local_app_data\\Programs\\GloamDrift"
user_dir=$(wine winepath -u "$user_dir_win" 2>/dev/null | tr -d '\r')
user_scr="$user_dir/GloamDrift.scr"
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

# running_scr_pids: the Linux processes of this prefix's running GloamDrift.scr.
running_scr_pids() {
    local pid
    for pid in $(pgrep -f 'GloamDrift\.scr'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
            grep -qx "WINEPREFIX=$GLOAM_WINE_HOME/prefix" && echo "$pid"
    done
}
# After "wine GloamDrift.scr ... &": waits (at most 20 s) until it runs.
wait_until_running() {
    local i
    for ((i = 0; i < 40; i++)); do
        [[ -n "$(running_scr_pids)" ]] && break
        sleep 0.5
    done
    sleep 1
}
# Ends the .scr that the test started, and its wine-run.sh.
stop_running() {
    local pid
    for pid in $(running_scr_pids); do
        kill "$pid"
    done
    wait
}
