#!/usr/bin/env bash
# What the first release build of build.sh wrote: the dist folder, the zip's members, their times,
# permissions and checksums, the text files' line ends, the two programs' machine types, and that
# the shipped 64-bit .scr is the very file the end-to-end tests drive.
#   tests/release/contents.sh WORK_DIR SOURCE_DIR TESTED_SCR
# TESTED_SCR (the .scr of this build folder) is compared only when SOURCE_DIR has no uncommitted
# changes and is at the commit that was released.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
source_dir=${2:?source folder}
tested_scr=${3:?the tested .scr}
a=$(clone_a "$work")
version=$(version_string "$a")
dist="$a/dist"
zip="$dist/GloamDrift-$version.zip"
setup="$dist/GloamDrift-$version-setup.exe"
epoch=$(git -C "$a" log -1 --format=%ct)

check "res/version.h gives a version ($version)" test -n "$version"

listing() { (cd "$dist" && shopt -s dotglob nullglob && printf '%s ' *); }
check "dist holds the zip, the installer and SHA256SUMS" \
    test "$(listing)" == "GloamDrift-$version-setup.exe GloamDrift-$version.zip SHA256SUMS "
sums_verify() { (cd "$1" && sha256sum --quiet -c SHA256SUMS) && [[ $(wc -l <"$1/SHA256SUMS") == "$2" ]]; }
check "dist/SHA256SUMS verifies the zip and the installer" sums_verify "$dist" 2

members="x86/GloamDrift.scr x64/GloamDrift.scr README.txt LICENSE.txt SHA256SUMS"
check "the zip holds exactly: $members" test "$(zipinfo -1 "$zip" | tr '\n' ' ')" == "$members "

# Zip keeps local time and no zone, in 2-second steps (rounding an odd second up); the release
# writes the commit's UTC time.
want_time=$(TZ=UTC date -d "@$((epoch + epoch % 2))" +%Y%m%d.%H%M%S)
entries() { zipinfo -T "$zip" | grep -E '^[-d]'; }
all_times_are() { ! entries | awk -v t="$1" '$7 != t { bad = 1 } END { exit !bad }'; }
check "every member is dated $want_time (the commit's time, UTC)" all_times_are "$want_time"
only_plain_files() { ! entries | grep -vq '^-rw-r--r-- '; }
check "every member is a file -rw-r--r--" only_plain_files
no_extra_fields() { ! zipinfo -v "$zip" | grep -E 'length of extra field:' | grep -vq ': *0 bytes'; }
check "the zip has no extra fields (owners, more times)" no_extra_fields

unpacked="$work/contents"
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
covered() { awk '{ print $2 }' "$unpacked/SHA256SUMS" | sort | tr '\n' ' '; }
check "SHA256SUMS covers the four other files" \
    test "$(covered)" == "LICENSE.txt README.txt x64/GloamDrift.scr x86/GloamDrift.scr "
check "sha256sum -c SHA256SUMS passes" sums_verify "$unpacked" 4

crlf_only() { [[ -s "$1" ]] && ! grep -qv $'\r$' "$1"; }
check "README.txt has CRLF line ends only" crlf_only "$unpacked/README.txt"
check "LICENSE.txt has CRLF line ends only" crlf_only "$unpacked/LICENSE.txt"
readme_names_version() {
    local readme="$unpacked/README.txt"
    grep -q "Gloam Drift Screen Saver $version" "$readme" &&
        grep -q "GloamDrift-$version-setup.exe" "$readme" && ! grep -q '@' "$readme"
}
check "README.txt names version $version and keeps no placeholder" readme_names_version
license_is_repository_license() { diff <(tr -d '\r' <"$unpacked/LICENSE.txt") "$a/LICENSE"; }
check "LICENSE.txt is the repository's LICENSE" license_is_repository_license

pe_check() { "$a/tests/static/check_pe.sh" "$1" "$2" >"$unpacked/check_pe-$1.log"; }
check "x86/GloamDrift.scr is a 32-bit (i686) Windows program" pe_check i686 "$unpacked/x86/GloamDrift.scr"
check "x64/GloamDrift.scr is a 64-bit (x86-64) Windows program" \
    pe_check x86_64 "$unpacked/x64/GloamDrift.scr"
is_pe32() { i686-w64-mingw32-objdump -f "$1" | grep -q 'file format pei-i386$'; }
check "the installer is a 32-bit Windows program" is_pe32 "$setup"

if [[ -n "$(git -C "$source_dir" status --porcelain)" ||
    "$(git -C "$source_dir" rev-parse HEAD)" != "$(git -C "$a" rev-parse HEAD)" ]]; then
    skip "x64/GloamDrift.scr is the tested file (the source folder differs from the released commit)"
else
    check "x64/GloamDrift.scr is $tested_scr, the file the end-to-end tests drive" \
        cmp "$unpacked/x64/GloamDrift.scr" "$tested_scr"
fi
finish
