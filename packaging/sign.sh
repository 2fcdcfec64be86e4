#!/usr/bin/env bash
# Signs Windows programs in place with Authenticode (SHA-256), for scripts/release.sh and, through
# makensis's !finalize and !uninstfinalize, for the installer and its uninstaller.
#   packaging/sign.sh FILE...
# Environment (set by release.sh): GLOAM_SIGN_PFX, the certificate and key; GLOAM_SIGN_PASSWORD_FILE,
# a file holding its password (may be empty); GLOAM_SIGN_TIMESTAMP, an RFC 3161 time-stamp server
# or empty; SOURCE_DATE_EPOCH, the signing time when there is no time stamp.
set -euo pipefail

: "${GLOAM_SIGN_PFX:?the certificate (scripts/release.sh --sign sets it)}"
: "${GLOAM_SIGN_PASSWORD_FILE:?the password file (scripts/release.sh --sign sets it)}"
args=(-pkcs12 "$GLOAM_SIGN_PFX" -h sha256 -n "Gloam Drift Screen Saver")
# osslsigncode reads no empty password from a file.
if [[ -s "$GLOAM_SIGN_PASSWORD_FILE" ]]; then
    args+=(-readpass "$GLOAM_SIGN_PASSWORD_FILE")
else
    args+=(-pass "")
fi
if [[ -n "${GLOAM_SIGN_TIMESTAMP:-}" ]]; then
    args+=(-ts "$GLOAM_SIGN_TIMESTAMP")
else
    args+=(-time "${SOURCE_DATE_EPOCH:?}")
fi

for file in "$@"; do
    rm -f "$file.signed"
    if ! osslsigncode sign "${args[@]}" -in "$file" -out "$file.signed" >"$file.sign.log" 2>&1; then
        cat "$file.sign.log" >&2
        rm -f "$file.signed" "$file.sign.log"
        echo "sign: could not sign $file" >&2
        exit 1
    fi
    rm -f "$file.sign.log"
    mv "$file.signed" "$file"
done
