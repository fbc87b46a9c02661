#!/usr/bin/env bash
# Signs Windows files in place (Authenticode, SHA-256), then checks that
# each one carries a signature. scripts/release.sh signs through this
# script, and so do the tests.
#
# usage: sign-files.sh FILE...
#
# How, from the environment (set one of the first two, or neither):
#   ZINDLE_SIGN_PFX            a PKCS#12 file (certificate and key): the files
#                              are signed with osslsigncode
#   ZINDLE_SIGN_PASSWORD_FILE  the file holding that PKCS#12 file's password;
#                              osslsigncode reads it itself, so the password
#                              is on no command line
#   ZINDLE_SIGN_COMMAND        a command that signs the file named by its last
#                              argument in place (a hardware token through
#                              osslsigncode's PKCS#11 module, a signing
#                              service's tool); run once per file
#   ZINDLE_SIGN_TIMESTAMP_URL  a timestamp server (RFC 3161) for osslsigncode;
#                              none is asked when it is not set. A signing
#                              command sees it in its environment.
# With neither ZINDLE_SIGN_PFX nor ZINDLE_SIGN_COMMAND nothing is signed,
# and the script says so. Exits 1 when any file is left unsigned.
set -euo pipefail

pfx=${ZINDLE_SIGN_PFX:-}
command=${ZINDLE_SIGN_COMMAND:-}
password_file=${ZINDLE_SIGN_PASSWORD_FILE:-}
timestamp_url=${ZINDLE_SIGN_TIMESTAMP_URL:-}

fail() {
  echo "sign-files: $*" >&2
  exit 1
}

if [ -z "$pfx" ] && [ -z "$command" ]; then
  echo "Not signed: neither ZINDLE_SIGN_PFX nor ZINDLE_SIGN_COMMAND is set."
  exit 0
fi
[ -z "$pfx" ] || [ -z "$command" ] ||
  fail "set ZINDLE_SIGN_PFX or ZINDLE_SIGN_COMMAND, not both"
if [ -n "$pfx" ]; then
  [ -r "$pfx" ] || fail "ZINDLE_SIGN_PFX: cannot read $pfx"
  [ -z "$password_file" ] || [ -r "$password_file" ] ||
    fail "ZINDLE_SIGN_PASSWORD_FILE: cannot read $password_file"
fi
[ $# -gt 0 ] || fail "no files to sign"

# osslsigncode writes a new file; it replaces the original only when whole.
sign_with_pfx() {
  local file=$1 signed="$1.signing"
  local options=(sign -pkcs12 "$pfx" -h sha256)
  [ -z "$password_file" ] || options+=(-readpass "$password_file")
  [ -z "$timestamp_url" ] || options+=(-ts "$timestamp_url")
  rm -f "$signed"
  if ! osslsigncode "${options[@]}" -in "$file" -out "$signed"; then
    rm -f "$signed"
    return 1
  fi
  chmod --reference="$file" "$signed"
  mv -f "$signed" "$file"
}

# A file carries a signature when osslsigncode can take one out of it.
has_signature() {
  local folder found=1
  folder=$(mktemp -d)
  if osslsigncode extract-signature -in "$1" -out "$folder/signature" \
    >/dev/null 2>&1 && [ -s "$folder/signature" ]; then
    found=0
  fi
  rm -rf "$folder"
  return $found
}

for file in "$@"; do
  [ -f "$file" ] || fail "$file: no such file"
  if [ -n "$pfx" ]; then
    sign_with_pfx "$file" || fail "$file: osslsigncode could not sign it"
  else
    mode=$(stat -c %a "$file")
    sh -c "$command \"\$1\"" zindle-sign "$file" ||
      fail "$file: the signing command failed: $command"
    chmod "$mode" "$file"
  fi
  has_signature "$file" || fail "$file: carries no signature after signing"
  echo "Signed: $file"
done
