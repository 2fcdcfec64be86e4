#!/usr/bin/env bash
# The two release builds of build.sh are byte for byte the same: both .scr files, the zip, the
# installer and the checksum list. Prints the SHA-256 of each artefact.
#   tests/release/reproducible.sh WORK_DIR
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
a=$(clone_a "$work")
b=$(clone_b "$work")

same_file() { cmp "$a/$1" "$b/$1"; }
same_listing() { diff <(cd "$a/$1" && ls -A) <(cd "$b/$1" && ls -A); }

check "the same files in both dist folders" same_listing dist
for scr in build/release/win32/GloamDrift.scr build/release/win64/GloamDrift.scr; do
    check "$scr is the same in both builds" same_file "$scr"
done
shopt -s nullglob
artefacts=("$a"/dist/*)
check "dist holds artefacts" test ${#artefacts[@]} -gt 0
for path in "${artefacts[@]}"; do
    f=dist/$(basename "$path")
    check "$f is the same in both builds" same_file "$f"
done

echo "--- SHA-256 (first build, second build)"
for f in build/release/win32/GloamDrift.scr build/release/win64/GloamDrift.scr "${artefacts[@]#"$a"/}"; do
    printf '%s %9s bytes\n  %s\n  %s\n' "$f" "$(stat -c %s "$a/$f" 2>/dev/null)" \
        "$(sha256sum <"$a/$f" 2>/dev/null | cut -d' ' -f1)" \
        "$(sha256sum <"$b/$f" 2>/dev/null | cut -d' ' -f1)"
done
finish
