#!/usr/bin/env bash
# Builds the release from a clean checkout into dist/:
#   GloamDrift-<version>.zip        x86/GloamDrift.scr (32-bit), x64/GloamDrift.scr (64-bit),
#                                   README.txt, LICENSE.txt, SHA256SUMS
#   GloamDrift-<version>-setup.exe  the installer (packaging/GloamDrift.nsi)
#   SHA256SUMS                      of the two
# Other files in dist/ stay. The version comes from res/version.h. The output is reproducible:
# the same commit gives the same bytes, wherever and whenever it is built with the same tools.
# Times come from SOURCE_DATE_EPOCH, by default the time of the last commit.
#
#   scripts/release.sh [--dirty] [--sign CERT.pfx [--timestamp URL]]
#
# --dirty builds a checkout with changes that are not committed (otherwise refused), for trying
# out the packaging. --sign signs both .scr files before they are packed, the uninstaller and the
# installer with the certificate and key in CERT.pfx (password in GLOAM_SIGN_PASSWORD, may be
# empty), with osslsigncode and SHA-256 digests; SHA256SUMS then lists the signed files. The
# signatures carry SOURCE_DATE_EPOCH as their signing time, so the same certificate signs the same
# bytes, unless --timestamp asks an RFC 3161 time-stamp server for a countersignature.
#
# It installs nothing: it checks for the Debian packages it needs and names the missing ones.
#
# Environment: GLOAM_BUILD_ROOT=/some/dir builds in /some/dir/release instead of build/release;
# GLOAM_NSIS_TARGET=amd64-unicode makes a 64-bit installer (the tests use it where 32-bit programs
# cannot run); GLOAM_DIST=/some/dir writes there instead of dist/; GLOAM_SIGN_PASSWORD.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# Folders given relative to where we were called from.
[[ -n "${GLOAM_BUILD_ROOT:-}" ]] && GLOAM_BUILD_ROOT=$(realpath -m "$GLOAM_BUILD_ROOT")
[[ -n "${GLOAM_DIST:-}" ]] && GLOAM_DIST=$(realpath -m "$GLOAM_DIST")
cd "$root"

usage() {
    echo "usage: $0 [--dirty] [--sign CERT.pfx [--timestamp URL]]" >&2
    exit 2
}
dirty=0
sign_pfx=""
timestamp=""
while (($# > 0)); do
    case "$1" in
        --dirty) dirty=1 ;;
        --sign)
            (($# > 1)) || usage
            sign_pfx=$(realpath -m "$2")
            shift
            ;;
        --timestamp)
            (($# > 1)) || usage
            timestamp=$2
            shift
            ;;
        *) usage ;;
    esac
    shift
done
[[ -n "$timestamp" && -z "$sign_pfx" ]] && usage
if [[ -n "$sign_pfx" && ! -r "$sign_pfx" ]]; then
    echo "release: cannot read the certificate $sign_pfx" >&2
    exit 1
fi

# The tools come from these Debian packages (scripts/setup.sh installs them with the rest).
needed=(cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 googletest
    nsis zip git)
[[ -n "$sign_pfx" ]] && needed+=(osslsigncode)
missing=()
for package in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
        missing+=("$package")
done
if ((${#missing[@]} > 0)); then
    echo "release: missing Debian packages: ${missing[*]}" >&2
    echo "release: install them (apt-get install ${missing[*]}, or scripts/setup.sh)" >&2
    exit 1
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    changes=$(git status --porcelain)
    if [[ -n "$changes" ]]; then
        if [[ $dirty == 0 ]]; then
            echo "release: the checkout has changes that are not committed:" >&2
            echo "$changes" >&2
            echo "release: commit them, or pass --dirty to build anyway (not a release)" >&2
            exit 1
        fi
        echo "release: building a checkout with uncommitted changes: this is not a release" >&2
    fi
    : "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct)}"
elif [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
    echo "release: not a git checkout; set SOURCE_DATE_EPOCH to the source's date" >&2
    exit 1
fi
export SOURCE_DATE_EPOCH

version_define() {
    sed -nE "s/^#define $1 \"?([^\"]*)\"?\$/\1/p" res/version.h
}
version=$(version_define GLOAM_VERSION_STRING)
version_quad="$(version_define GLOAM_VERSION_MAJOR).$(version_define GLOAM_VERSION_MINOR)"
version_quad+=".$(version_define GLOAM_VERSION_REVISION).$(version_define GLOAM_VERSION_BUILD)"
if [[ ! "$version" =~ ^[0-9]+\.[0-9]+$ || ! "$version_quad" =~ ^[0-9]+(\.[0-9]+){3}$ ]]; then
    echo "release: cannot read the version from res/version.h ('$version', '$version_quad')" >&2
    exit 1
fi
name="GloamDrift-$version"

build="${GLOAM_BUILD_ROOT:-$root/build}/release"
dist="${GLOAM_DIST:-$root/dist}"
echo "release: $name from $(git rev-parse --short HEAD 2>/dev/null || echo 'a source tree'), \
SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH"
artefacts=("$name.zip" "$name-setup.exe" SHA256SUMS)
rm -rf "$build"
mkdir -p "$build" "$dist"
for f in "${artefacts[@]}"; do
    rm -f "$dist/$f"
done

if [[ -n "$sign_pfx" ]]; then
    # packaging/sign.sh reads these; the password goes through a file only we can read.
    export GLOAM_SIGN_PFX=$sign_pfx GLOAM_SIGN_TIMESTAMP=$timestamp
    export GLOAM_SIGN_PASSWORD_FILE="$build/sign-password"
    (umask 077 && printf '%s' "${GLOAM_SIGN_PASSWORD:-}" >"$GLOAM_SIGN_PASSWORD_FILE")
    trap 'rm -f "$GLOAM_SIGN_PASSWORD_FILE"' EXIT
    echo "release: signing with $sign_pfx${timestamp:+, time stamps from $timestamp}"
fi
sign() {
    [[ -z "$sign_pfx" ]] || "$root/packaging/sign.sh" "$@"
}

# The same presets as the tested builds, each from an empty build folder.
for preset in win32 win64; do
    echo "=== $preset"
    cmake --preset "$preset" -B "$build/$preset" >"$build/$preset.configure.log" 2>&1 || {
        cat "$build/$preset.configure.log" >&2
        exit 1
    }
    cmake --build "$build/$preset" -j 2 --target GloamDrift
done
tests/static/check_pe.sh i686 "$build/win32/GloamDrift.scr" >"$build/check_pe-i686.log" || {
    cat "$build/check_pe-i686.log" >&2
    exit 1
}
tests/static/check_pe.sh x86_64 "$build/win64/GloamDrift.scr" >"$build/check_pe-x86_64.log" || {
    cat "$build/check_pe-x86_64.log" >&2
    exit 1
}

# The zip's contents, with fixed names, permissions and times.
stage="$build/stage"
mkdir -p "$stage/x86" "$stage/x64"
cp "$build/win32/GloamDrift.scr" "$stage/x86/GloamDrift.scr"
cp "$build/win64/GloamDrift.scr" "$stage/x64/GloamDrift.scr"
sign "$stage/x86/GloamDrift.scr" "$stage/x64/GloamDrift.scr"
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$@"; }
sed "s/@VERSION@/$version/g" packaging/README.txt | crlf >"$stage/README.txt"
crlf LICENSE >"$stage/LICENSE.txt"
members=(x86/GloamDrift.scr x64/GloamDrift.scr README.txt LICENSE.txt)
(cd "$stage" && sha256sum "${members[@]}" >SHA256SUMS)
members+=(SHA256SUMS)
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# -X: no owner ids or extra time stamps; -D: no folder entries. Zip stores local time: UTC here.
(cd "$stage" && TZ=UTC LC_ALL=C zip -q -X -D -9 "$dist/$name.zip" "${members[@]}")
touch -d "@$SOURCE_DATE_EPOCH" "$dist/$name.zip"

echo "=== installer"
nsis_args=(-V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DVERSION_QUAD=$version_quad"
    "-DSTAGE=$stage" "-DOUTFILE=$dist/$name-setup.exe")
[[ -n "${GLOAM_NSIS_TARGET:-}" ]] && nsis_args+=("-DTARGET=$GLOAM_NSIS_TARGET")
# The uninstaller is signed before it is packed (!uninstfinalize), the installer once written.
[[ -n "$sign_pfx" ]] && nsis_args+=("-DSIGN=\"$root/packaging/sign.sh\"")
TZ=UTC LC_ALL=C makensis "${nsis_args[@]}" "$root/packaging/GloamDrift.nsi" >"$build/makensis.log" 2>&1 || {
    cat "$build/makensis.log" >&2
    exit 1
}
touch -d "@$SOURCE_DATE_EPOCH" "$dist/$name-setup.exe"

(cd "$dist" && sha256sum "$name.zip" "$name-setup.exe" >SHA256SUMS)
echo "release: wrote $dist"
(cd "$dist" && for f in "$name.zip" "$name-setup.exe"; do
    printf '  %-28s %9d bytes  sha256 %s\n' "$f" "$(stat -c %s "$f")" "$(sha256sum "$f" | cut -d' ' -f1)"
done)
