#!/usr/bin/env bash
# Signs a copy of the launcher with a throwaway certificate through
# scripts/sign-files.sh, as a release does, and checks that the signature
# verifies, that the password reached no command line, that the version
# information and icon stay, that removing the signature gives back the
# unsigned file, and that the signed launcher runs its Wine smoke case.
#
# usage: signed_launcher.sh WAY LAUNCHER_EXE TOOLS_DIR WORK_DIR SOURCE_DIR
#                           PYTHON VERSION ICON
# WAY: pfx (ZINDLE_SIGN_PFX and a password file) or command
# (ZINDLE_SIGN_COMMAND, a script around osslsigncode). TOOLS_DIR and the
# environment as for tests/wine/run-wine-case.sh.
set -u
way=$1 launcher=$2 tools=$3 dir=$4/$1 source=$5 python=$6 version=$7 icon=$8
rm -rf "$dir" && mkdir -p "$dir/bin" || exit 1
exe=$dir/$(basename "$launcher")
failures=0
check() {  # what, command...: runs the command, output shown on failure
  local what=$1
  shift
  "$@" >"$dir/last.log" 2>&1 ||
    { cat "$dir/last.log"; echo "FAIL: $what"; failures=$((failures + 1)); }
}

password="throwaway $$ password"
printf '%s\n' "$password" >"$dir/password"
check "certificate" openssl req -x509 -newkey rsa:2048 -nodes -days 2 \
  -subj "/CN=Zindle test signer" -addext extendedKeyUsage=codeSigning \
  -keyout "$dir/key.pem" -out "$dir/cert.pem"
check "PKCS#12 file" openssl pkcs12 -export -inkey "$dir/key.pem" \
  -in "$dir/cert.pem" -out "$dir/signer.pfx" -passout "file:$dir/password"
# Every osslsigncode command line is recorded on its way to the real one.
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\nexec "%s" "$@"\n' \
  "$dir/command-lines" "$(command -v osslsigncode)" >"$dir/bin/osslsigncode"
printf '#!/bin/sh\nosslsigncode sign -certs "%s" -key "%s" -h sha256 -in "$1" -out "$1.new" && mv "$1.new" "$1"\n' \
  "$dir/cert.pem" "$dir/key.pem" >"$dir/sign-with-key"
chmod +x "$dir/bin/osslsigncode" "$dir/sign-with-key"
export PATH="$dir/bin:$PATH"

cp "$launcher" "$exe"
unset ZINDLE_SIGN_PFX ZINDLE_SIGN_PASSWORD_FILE ZINDLE_SIGN_COMMAND \
  ZINDLE_SIGN_TIMESTAMP_URL
case $way in
  pfx) export ZINDLE_SIGN_PFX=$dir/signer.pfx \
         ZINDLE_SIGN_PASSWORD_FILE=$dir/password ;;
  command) export ZINDLE_SIGN_COMMAND=$dir/sign-with-key ;;
esac
check "signing" "$source/scripts/sign-files.sh" "$exe"
check "no password on a command line" \
  sh -c 'test -s "$2" && ! grep -F -- "$1" "$2"' check "$password" "$dir/command-lines"
check "executable mode kept" test -x "$exe"
check "signature verifies" \
  osslsigncode verify -CAfile "$dir/cert.pem" -in "$exe"
check "version information and icon kept" \
  "$python" "$source/tests/release/check_pe_version.py" "$exe" \
  "version=$version" "icon=$icon"
check "signature removed" \
  osslsigncode remove-signature -in "$exe" -out "$dir/unsigned.exe"
check "unsigned again, the built file" cmp "$launcher" "$dir/unsigned.exe"
check "smoke case of the signed launcher" \
  "$source/tests/wine/run-wine-case.sh" smoke "$exe" "$tools" "$dir/wine"
[ "$failures" -eq 0 ] && echo "signed ($way), verified, unchanged otherwise, runs"
