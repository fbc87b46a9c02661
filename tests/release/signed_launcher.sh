#!/usr/bin/env bash
# Signs a copy of the launcher through scripts/sign-files.sh with a
# throwaway certificate, the way a release signs it, and checks the result:
# the signature verifies against that certificate, the version information
# and icon are still there, taking the signature out again gives back the
# unsigned file, and the signed launcher still runs its smoke case under
# Wine.
#
# usage: signed_launcher.sh WAY LAUNCHER_EXE TOOLS_DIR WORK_DIR SOURCE_DIR
#                           PYTHON VERSION ICON
# WAY: pfx      a PKCS#12 file with its password in a file; the password
#               must reach no command line
#      command  ZINDLE_SIGN_COMMAND, a small script around osslsigncode
# TOOLS_DIR, WINEPREFIX and the rest as for tests/wine/run-wine-case.sh.
set -u
way=$1 launcher=$2 tools=$3 work=$4 source=$5 python=$6 version=$7 icon=$8
dir=$work/$way
rm -rf "$dir"
mkdir -p "$dir/bin"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
quiet() {  # runs a command, showing its output only when it fails
  "$@" >"$dir/last.log" 2>&1 || { cat "$dir/last.log"; return 1; }
}

# The throwaway certificate, valid for code signing.
password="throwaway $$ password"
printf '%s\n' "$password" >"$dir/password"
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 2 \
  -subj "/CN=Zindle test signer" -addext extendedKeyUsage=codeSigning \
  -keyout "$dir/key.pem" -out "$dir/cert.pem" || exit 1
quiet openssl pkcs12 -export -inkey "$dir/key.pem" -in "$dir/cert.pem" \
  -out "$dir/signer.pfx" -passout "file:$dir/password" || exit 1

# Every osslsigncode command line is recorded on its way to the real one.
real=$(command -v osslsigncode) || { echo "FAIL: osslsigncode missing"; exit 1; }
cat >"$dir/bin/osslsigncode" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$dir/command-lines"
exec "$real" "\$@"
EOF
chmod +x "$dir/bin/osslsigncode"
export PATH="$dir/bin:$PATH"

exe=$dir/$(basename "$launcher")
cp "$launcher" "$exe"
unset ZINDLE_SIGN_PFX ZINDLE_SIGN_PASSWORD_FILE ZINDLE_SIGN_COMMAND \
  ZINDLE_SIGN_TIMESTAMP_URL
case $way in
  pfx)
    export ZINDLE_SIGN_PFX=$dir/signer.pfx
    export ZINDLE_SIGN_PASSWORD_FILE=$dir/password
    ;;
  command)
    cat >"$dir/sign-with-key.sh" <<EOF
#!/bin/sh
osslsigncode sign -certs "$dir/cert.pem" -key "$dir/key.pem" -h sha256 \
  -in "\$1" -out "\$1.new" && mv "\$1.new" "\$1"
EOF
    chmod +x "$dir/sign-with-key.sh"
    export ZINDLE_SIGN_COMMAND="$dir/sign-with-key.sh"
    ;;
  *)
    echo "unknown way $way"
    exit 2
    ;;
esac
quiet "$source/scripts/sign-files.sh" "$exe" || fail "sign-files.sh failed"
grep -qF -- "$password" "$dir/command-lines" &&
  fail "the password was on a command line: $(cat "$dir/command-lines")"
[ -x "$exe" ] || fail "the signed launcher lost its executable mode"

quiet osslsigncode verify -CAfile "$dir/cert.pem" -in "$exe" ||
  fail "the signature does not verify"
quiet "$python" "$source/tests/release/check_pe_version.py" "$exe" \
  "version=$version" "icon=$icon" ||
  fail "the signed launcher lost its version information or icon"
quiet osslsigncode remove-signature -in "$exe" -out "$dir/unsigned.exe" &&
  cmp "$launcher" "$dir/unsigned.exe" ||
  fail "without its signature the launcher is not the unsigned file"

"$source/tests/wine/run-wine-case.sh" smoke "$exe" "$tools" "$dir/wine" ||
  fail "the signed launcher fails its smoke case"

[ "$failures" -eq 0 ] || exit 1
echo "signed ($way), verified, unchanged otherwise, runs"
