#!/usr/bin/env bash
# Static check of a built GloamDrift.scr: tests/static/check_pe.sh i686|x86_64 FILE
#
# i686 (the shipped build, which this machine cannot run): PE32, machine i386. x86_64: PE32+,
# machine x86-64. Both: GUI subsystem, and imports only from DLLs that every Windows has, so the
# file runs when copied alone onto a machine (no MinGW runtime DLLs beside it).
set -uo pipefail

arch=${1:-}
file=${2:-}
if [[ -z "$arch" || -z "$file" ]]; then
    echo "usage: $0 i686|x86_64 FILE" >&2
    exit 2
fi
case "$arch" in
    i686) want_format=pei-i386 want_magic='010b' want_arch='i386' ;;
    x86_64) want_format=pei-x86-64 want_magic='020b' want_arch='i386:x86-64' ;;
    *)
        echo "unknown architecture $arch" >&2
        exit 2
        ;;
esac
objdump=${OBJDUMP:-$arch-w64-mingw32-objdump}

# shellcheck source=tests/check.sh
source "$(dirname "$0")/../check.sh"

if [[ ! -f "$file" ]]; then
    echo "FAIL $file does not exist"
    exit 1
fi
headers=$("$objdump" -f "$file" 2>&1) || {
    echo "FAIL $objdump cannot read $file: $headers"
    exit 1
}
private=$("$objdump" -p "$file" 2>&1) || {
    echo "FAIL $objdump -p cannot read $file"
    exit 1
}

check "file format $want_format" grep -q "file format $want_format\$" <<<"$headers"
check "machine $want_arch" grep -q "^architecture: $want_arch," <<<"$headers"
check "optional header magic $want_magic" grep -Eq "^Magic[[:space:]]+$want_magic" <<<"$private"
check "subsystem Windows GUI" \
    grep -Eq "^Subsystem[[:space:]]+0+2[[:space:]]+\(Windows GUI\)" <<<"$private"

# Windows' own DLLs (and the API sets that map onto them). Anything else, in particular
# libstdc++-6, libgcc_s_*, libwinpthread-1, would have to be shipped beside the .scr.
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|shlwapi|uxtheme|dwmapi|winmm|imm32|msimg32|shcore|ntdll|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
mapfile -t dlls < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$private" | tr -d '\r')
check "imports at least one DLL (${#dlls[@]} found)" test "${#dlls[@]}" -gt 0
for dll in "${dlls[@]}"; do
    lower=$(tr '[:upper:]' '[:lower:]' <<<"$dll")
    check "import from system DLL $dll" grep -Eq "$allowed" <<<"$lower"
done
for dll in USER32 GDI32; do
    check "imports $dll.dll (a windowed program)" grep -Eiq "DLL Name: $dll\.dll" <<<"$private"
done

finish
