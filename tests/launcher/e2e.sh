#!/usr/bin/env bash
# End-to-end runs of the Linux launcher: a renamed copy of the program and
# its .config in a temporary directory, checking standard output, the boxes
# on standard error and the exit status.
#
# usage: e2e.sh <path of the built zindle program>
#
# The registry is a .reg file without Java runtimes and JAVA_HOME is unset,
# so none is found and nothing is launched (status 2); these runs cover
# what happens before the launch.
set -u
zindle=${1:?usage: e2e.sh <zindle program>}
[ -x "$zindle" ] || { echo "not a program: $zindle"; exit 2; }

work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
work=$(cd "$work" && pwd -P)
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZindleTest]\r\n"Unrelated"="1"\r\n' >"$work/empty.reg"
export ZINDLE_REGISTRY="$work/empty.reg"
unset JAVA_HOME

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The released version is 1.2.6. This is the one check that names it; the
# build and every other test take the number from the file VERSION.
version=$(cat "$(dirname "$0")/../../VERSION")
[ "$version" = "1.2.6" ] || fail "VERSION holds '$version', the release is 1.2.6"

# run <dir> <program> [args...]: runs in <dir> with stdin from /dev/null and a
# time limit; leaves status, out and err.
run() {
  local dir=$1
  shift
  (cd "$dir" && timeout 20 "$@" </dev/null >"$work/out" 2>"$work/err")
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

expect_status() {
  [ "$status" -eq "$1" ] || fail "$2: status $status, expected $1 (stderr: $err)"
}

expect_out() {
  [ "$out" == "$1" ] || fail "$2: stdout was
$out
expected
$1"
}

expect_err_has() {
  grep -qF -- "$1" "$work/err" || fail "$2: stderr lacks '$1'; it was
$err"
}

install_app() {  # install_app <dir>: a copy of the launcher named model
  mkdir -p "$1"
  cp "$zindle" "$1/model"
}

# --- Started by its absolute path from elsewhere: changes into its own
# directory, includes relative to it, expands the startup environment only.
install_app "$work/app"
mkdir -p "$work/other"
cat >"$work/app/model.config" <<'EOF'
# example application
mainclass qel.Main
vmparam -Dhome=$ZE_HOME
addjars $ZE_HOME\lib
include inc.config
setenv ZE_SET=1
vmparam -Dset=$ZE_SET
argument $ZE_HOME
EOF
printf 'vmparam -Dinc=1\r\n' >"$work/app/inc.config"
ZE_HOME="/x/my dir" run "$work/other" "$work/app/model" -d -Dx=1
expect_status 2 "absolute start"
expect_out "reading app config $work/app/model.config
vmparam 0=-Dx=1
vmparam 1=-Dhome=\"/x/my dir\"
vmparam 2=-Dinc=1
vmparam 3=-Dset=\$ZE_SET
vmpath 0=\"/x/my dir/lib\"/*" "absolute start"
expect_err_has "[Version] $version" "absolute start"
expect_err_has "[LpCmdLine] [$work/app/model]" "absolute start"
expect_err_has "[CWD] $work/app" "absolute start"
expect_err_has "[Reading Config file] inc.config" "absolute start"
expect_err_has "[ZE_SET] 1" "absolute start"
expect_err_has "[MainClass is] qel.Main" "absolute start"

# --- Started by a relative path: stays where it is and reads the .config
# of its name there.
cat >"$work/other/model.config" <<'EOF'
mainclass Other
EOF
run "$work/other" ../app/model -d
expect_status 2 "relative start"
expect_err_has "[CWD] $work/other" "relative start"
expect_err_has "[MainClass is] Other" "relative start"
expect_out "reading app config $work/other/model.config" "relative start"

# --- Without -d nothing is traced and no box is shown before the launch.
run "$work/app" ./model
expect_status 2 "quiet run"
expect_out "" "quiet run"
case "$err" in *"[MainClass is]"* | *"[CWD]"*) fail "boxes without -d: $err" ;; esac

# --- A configuration written for Windows: backslashes in include and -c.
install_app "$work/win"
mkdir -p "$work/win/sub"
printf 'include sub\\inc.config\r\nvmparam -Dlast\r\n' >"$work/win/model.config"
printf 'mainclass Sub\r\n' >"$work/win/sub/inc.config"
printf 'mainclass Named\n' >"$work/win/sub/named.config"
run "$work/win" "$work/win/model" -d
expect_status 2 "windows paths"
expect_err_has "[MainClass is] Sub" "windows paths"
expect_out "reading app config $work/win/model.config
vmparam 0=-Dlast" "windows paths"
run "$work" "$work/win/model" -d '-csub\named.config'
expect_err_has "[MainClass is] Named" "-c with a backslash"

# --- The example configuration of the repository: its folders are named
# through $appdir, the launcher's own folder.
install_app "$work/example"
cp "$(dirname "$0")/../../examples/model/surface-model.config" \
  "$work/example/model.config"
run "$work" "$work/example/model" -d
expect_status 2 "example"
expect_out "reading app config $work/example/model.config
vmparam 0=-Djava.library.path=$work/example/native
vmparam 1=-DLOGFILE=$work/example/logs/surface-model.log
vmparam 2=-Xmx512m
vmparam 3=-Xcheck:jni
vmpath 0=$work/example/lib/*" "example"
expect_err_has "[MainClass is] qel.example.SurfaceModel" "example"

# --- Configurations saved by Windows tools (a UTF-8 mark, UTF-16 with its
# mark, an included file with a mark) configure the launcher as their plain
# twin does.
install_app "$work/enc"
printf 'mainclass qel.Enc\r\nvmparam -Dcaf\xc3\xa9=1\r\ninclude inc.config\r\n' \
  >"$work/enc/plain.config"
printf '\xef\xbb\xbfaddjar x.jar\r\n' >"$work/enc/inc.config"
{ printf '\xef\xbb\xbf'; cat "$work/enc/plain.config"; } >"$work/enc/utf8.config"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$work/enc/plain.config"; } \
  >"$work/enc/utf16le.config"
{ printf '\xfe\xff'; iconv -f UTF-8 -t UTF-16BE "$work/enc/plain.config"; } \
  >"$work/enc/utf16be.config"
for f in plain utf8 utf16le utf16be; do
  run "$work/enc" ./model -d "-c$f.config"
  expect_status 2 "$f"
  expect_out "reading app config $f.config
vmparam 0=-Dcaf"$'\xc3\xa9'"=1
vmpath 0=x.jar" "$f"
  expect_err_has "[MainClass is] qel.Enc" "$f"
done

# --- A configuration that includes itself ends.
install_app "$work/loop"
printf 'include model.config\nvmparam -Dafter\n' >"$work/loop/model.config"
run "$work/loop" ./model -d
expect_status 2 "self include"
count=$(grep -c '^vmparam ' "$work/out")
[ "$count" -eq 32 ] || fail "self include: $count vmparam lines, expected 32"

# --- -sample writes into the directory the launcher was started from.
run "$work/other" "$work/app/model" -d -sample -q
expect_status 0 "-sample"
expect_out "" "-sample"
[ -z "$err" ] || fail "-sample: stderr $err"
[ -f "$work/other/sample.config" ] || fail "-sample: no file in start directory"
[ ! -e "$work/app/sample.config" ] || fail "-sample: file in program directory"
if [ -f "$work/other/sample.config" ]; then
  lines=$(wc -l <"$work/other/sample.config")
  crlf=$(grep -c $'\r$' "$work/other/sample.config")
  [ "$lines" -eq 43 ] && [ "$crlf" -eq 43 ] ||
    fail "-sample: $lines lines, $crlf with CR LF"
  head -n1 "$work/other/sample.config" | grep -q '^#Created with version @(#).* Version: 1\.2\.6 ' ||
    fail "-sample: first line $(head -n1 "$work/other/sample.config")"
  cp "$work/other/sample.config" "$work/first.config"
  run "$work/other" "$work/app/model" -sample
  cmp -s "$work/first.config" "$work/other/sample.config" ||
    fail "-sample twice: files differ"
  # Read back as a configuration it sets nothing.
  cp "$work/other/sample.config" "$work/other/model.config"
  run "$work/other" ../app/model -d
  expect_out "reading app config $work/other/model.config" "sample read back"
  expect_err_has "[MainClass is] " "sample read back"
fi

# --- -sample where the file cannot be created: status 1, silently.
mkdir -p "$work/blocked/sample.config"
run "$work/blocked" "$work/app/model" -sample
expect_status 1 "-sample blocked"
[ -z "$out$err" ] || fail "-sample blocked: output $out$err"

# --- A configuration path that names a directory: status 2.
install_app "$work/dir"
mkdir -p "$work/dir/model.config"
run "$work" "$work/dir/model"
expect_status 2 "config is a directory"
expect_err_has "Can't open $work/dir/model.config Error Is a directory" "config is a directory"
expect_err_has "[Error Reading Config File] Can't open" "config is a directory"
run "$work" "$work/dir/model" -d -q
expect_status 2 "config is a directory, -q"
[ "$err" == "Can't open $work/dir/model.config Error Is a directory" ] ||
  fail "config is a directory, -q: stderr $err"
expect_out "" "config is a directory, -q"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all launcher end-to-end checks passed"
