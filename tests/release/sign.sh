#!/usr/bin/env bash
# scripts/release.sh --sign, with a throwaway self-signed certificate made here with openssl: the
# .scr files in the zip, the installer and the uninstaller it writes carry a SHA-256 signature
# that verifies against that certificate (and not against another), SHA256SUMS lists the signed
# files, other files in GLOAM_DIST stay, and the signed .scr files still run: each is started with
# /S under Wine by the end-to-end tests, shows the spot and ends on input. Also what release.sh
# refuses before it builds anything.
#   tests/release/sign.sh WORK_DIR E2E_EXE
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

work=$(realpath -m "${1:?work folder}")
e2e=$(realpath -m "${2:?gloam_e2e.exe}")
a=$(clone_a "$work")
root=$(cd "$here/../.." && pwd)
version=$(version_string "$a")
tmp="$work/sign"
rm -rf "$tmp"
mkdir -p "$tmp"

export GLOAM_WINE_HOME="$tmp/wine"
wine() { "$root/cmake/wine-run.sh" "$@"; }
trap '"$root/cmake/wine-run.sh" --stop >/dev/null 2>&1' EXIT

echo "=== what release.sh refuses before building"
# release CLONE_ARGS...: release.sh in the first clone, into $tmp/dist; exit code in $rc.
release() {
    (cd "$a" && env -u SOURCE_DATE_EPOCH GLOAM_BUILD_ROOT="$tmp/build" GLOAM_DIST="$tmp/dist" \
        "$@") >"$tmp/release.log" 2>&1
    rc=$?
}
says() { grep -qF "$1" "$tmp/release.log"; }
mkdir -p "$tmp/dist"
echo "not ours" >"$tmp/dist/notes.txt"
release scripts/release.sh --timestamp http://localhost/
check "--timestamp without --sign is a usage error (exit 2)" test "$rc" == 2
release scripts/release.sh --sign "$tmp/no such.pfx"
check "--sign with a certificate that is not there exits 1" test "$rc" == 1
check "and names it" says "cannot read the certificate $tmp/no such.pfx"
# A dpkg-query that knows of no nsis, and an apt-get that must not be called.
mkdir -p "$tmp/fake-bin"
cat >"$tmp/fake-bin/dpkg-query" <<EOF
#!/bin/sh
for last; do :; done
[ "\$last" = nsis ] && exit 1
exec /usr/bin/dpkg-query "\$@"
EOF
printf '#!/bin/sh\ntouch "%s/apt-get-called"\nexit 1\n' "$tmp" >"$tmp/fake-bin/apt-get"
chmod +x "$tmp/fake-bin/dpkg-query" "$tmp/fake-bin/apt-get"
release env PATH="$tmp/fake-bin:$PATH" scripts/release.sh
check "without nsis it exits 1" test "$rc" == 1
check "and says which package to install" says "missing Debian packages: nsis"
check "and installs nothing (no apt-get)" test ! -e "$tmp/apt-get-called"
check "and builds nothing" test ! -e "$tmp/build/release"

echo "=== a throwaway certificate"
password="throwaway password"
make_certificate() {
    local name=$1
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=GloamDrift test ($name)" \
        -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
        -keyout "$tmp/$name.key" -out "$tmp/$name.crt" >"$tmp/openssl.log" 2>&1 &&
        openssl pkcs12 -export -inkey "$tmp/$name.key" -in "$tmp/$name.crt" \
            -passout "pass:$password" -out "$tmp/$name.pfx" >>"$tmp/openssl.log" 2>&1
}
check "openssl makes a code-signing certificate" make_certificate signer
check "and another one, that signs nothing" make_certificate stranger

echo "=== release.sh --sign"
# Where 32-bit programs cannot run, the installer is built as a 64-bit program (as install.sh does).
nsis_target=""
if ! wine "$a/build/release/win32/GloamDrift.scr" /X >"$tmp/probe.log" 2>&1; then
    echo "this Wine cannot run 32-bit programs: a 64-bit installer, and no 32-bit .scr run"
    nsis_target=amd64-unicode
fi
started=$SECONDS
release env GLOAM_SIGN_PASSWORD="$password" GLOAM_NSIS_TARGET="$nsis_target" \
    scripts/release.sh --sign "$tmp/signer.pfx"
echo "the signed release took $((SECONDS - started)) s"
check "release.sh --sign exits 0" test "$rc" == 0 || tail -30 "$tmp/release.log"
dist="$tmp/dist"
zip="$dist/GloamDrift-$version.zip"
setup="$dist/GloamDrift-$version-setup.exe"
check "the other file in GLOAM_DIST stays" grep -qx "not ours" "$dist/notes.txt"
sums_verify() { (cd "$1" && sha256sum --quiet -c SHA256SUMS); }
check "dist/SHA256SUMS verifies the signed zip and installer" sums_verify "$dist"
unpacked="$tmp/zip"
unzip -q "$zip" -d "$unpacked"
check "the zip's SHA256SUMS verifies the signed files" sums_verify "$unpacked"

not() { ! "$@"; }
# verify FILE CERTIFICATE: osslsigncode accepts FILE's signature, chained to CERTIFICATE alone.
verify() {
    osslsigncode verify -CAfile "$2" -in "$1" >"$tmp/verify.log" 2>&1 &&
        grep -q '^Signature verification: ok' "$tmp/verify.log" &&
        grep -q 'Message digest algorithm *: SHA256' "$tmp/verify.log"
}
for file in x86/GloamDrift.scr x64/GloamDrift.scr; do
    check "$file is signed (SHA-256) by the certificate" verify "$unpacked/$file" "$tmp/signer.crt"
    check "$file does not verify against another certificate" \
        not verify "$unpacked/$file" "$tmp/stranger.crt"
done
check "the installer is signed by the certificate" verify "$setup" "$tmp/signer.crt"
check "the unsigned release's .scr has no signature" \
    not verify "$a/build/release/stage/x64/GloamDrift.scr" "$tmp/signer.crt"
# Signing rewrites the header's checksum and certificate entry (in the first 1 KiB) and appends
# the signature; everything else is the unsigned release's file.
same_but_signature() {
    local unsigned="$a/build/release/stage/$1" size
    size=$(stat -c %s "$unsigned")
    [[ $(stat -c %s "$unpacked/$1") -gt $size ]] &&
        cmp -s <(head -c "$size" "$unpacked/$1" | tail -c +1025) <(tail -c +1025 "$unsigned")
}
for file in x86/GloamDrift.scr x64/GloamDrift.scr; do
    check "$file is the unsigned release's file plus its signature" same_but_signature "$file"
done

echo "=== the signed installer and uninstaller under Wine"
wine "$setup" /S /CurrentUser >"$tmp/setup.out" 2>"$tmp/setup.err"
rc=$?
check "the signed installer installs (/S /CurrentUser exits 0)" test "$rc" == 0
user_dir=$(wine winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')\\Programs\\GloamDrift" \
    2>/dev/null | tr -d '\r')
check "the uninstaller it writes is signed by the certificate" \
    verify "$user_dir/uninstall.exe" "$tmp/signer.crt"
check "the installed .scr is the signed one" cmp -s "$user_dir/GloamDrift.scr" "$unpacked/x64/GloamDrift.scr"

# drive UNIX_PATH [64]: the end-to-end tests drive that .scr.
drive() { drive_scr "$e2e" "$(wine winepath -w "$1" 2>/dev/null | tr -d '\r')" "$tmp/e2e.log" "${@:2}"; }
check "the signed 64-bit .scr starts with /S, shows the spot and ends on input" \
    drive "$unpacked/x64/GloamDrift.scr" 64
if [[ -z "$nsis_target" ]]; then
    check "the signed 32-bit .scr starts with /S, shows the spot and ends on input" \
        drive "$unpacked/x86/GloamDrift.scr"
else
    skip "the signed 32-bit .scr under Wine (this machine cannot run 32-bit programs)"
fi
finish
