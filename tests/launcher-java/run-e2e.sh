#!/usr/bin/env bash
# End-to-end runs of the Linux launcher with the real JVM.
#
# usage: run-e2e.sh CASE ZINDLE_BINARY PROBE_CLASSES WORK_DIR
# Each case copies the launcher into WORK_DIR/CASE as "runner", writes its
# runner.config, runs it (bounded by timeout) and checks what the Java probe
# reported, the launcher's own output and its exit status.
set -u
case_name=$1 zindle=$2 classes=$3 work=$4

dir="$work/$case_name"
rm -rf "$dir"
mkdir -p "$dir/app" "$dir/run dir"
cp "$zindle" "$dir/app/runner"
app="$dir/app"
out="$dir/stdout.txt" err="$dir/stderr.txt"
java_home=$(dirname "$(dirname "$(readlink -f "$(command -v java)")")")
version=$(cat "$(dirname "$0")/../../VERSION")
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_line() {  # file, exact line
  grep -qxF -- "$2" "$1" || fail "$(basename "$1") lacks the line [$2]"
}
expect_no_line() {
  ! grep -qF -- "$2" "$1" || fail "$(basename "$1") has [$2]"
}
expect_count() {  # file, exact line, count
  local n
  n=$(grep -cxF -- "$2" "$1")
  [ "$n" -eq "$3" ] || fail "$(basename "$1") has [$2] $n times, not $3"
}
# Runs the launcher by its absolute path with the given options.
run() {
  (cd "$dir" && timeout 120 "$app/runner" "$@" </dev/null >"$out" 2>"$err")
  status=$?
}
expect_status() {
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
# The settings every probe run shares.
probe_config() {
  cat <<CONFIG
mainclass LauncherProbe
addpath $classes
vmparam -Dprobe.flag=on
vmparam -Dprobe.exits=$1
workingDir $dir/run dir
CONFIG
}
reg_header() {
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
}

case "$case_name" in
  full)
    # Class path, parameters, arguments with blanks, working directory and
    # an inherited variable; the record file with -o.
    export PROBE_HOME="$dir" PROBE_LIB="$dir/my lib"
    mkdir -p "$PROBE_LIB"
    {
      echo "javapath $java_home/bin/java"
      probe_config 0
      echo 'addjars $PROBE_LIB'
      echo 'argument plain'
      echo 'argument two words'
      echo 'argument "already quoted"'
      # Quotes and backslashes arrive as written.
      echo 'argument C:\Program Files\'
      echo 'argument NEXT'
      echo 'argument say "hi" there'
      echo 'argument x"y'
      echo 'setenv ZPROBE=value with $PROBE_HOME'
    } >"$app/runner.config"
    run -o cmdline-arg 'tail\' 'q"uote'
    expect_status 0
    expect_line "$out" "probe: run=0"
    expect_line "$out" "probe: argc=10"
    expect_line "$out" "probe: arg[0]=cmdline-arg"
    expect_line "$out" "probe: arg[1]=tail\\"
    expect_line "$out" 'probe: arg[2]=q"uote'
    expect_line "$out" "probe: arg[3]=plain"
    expect_line "$out" "probe: arg[4]=two words"
    expect_line "$out" "probe: arg[5]=already quoted"
    expect_line "$out" 'probe: arg[6]=C:\Program Files\'
    expect_line "$out" "probe: arg[7]=NEXT"
    expect_line "$out" 'probe: arg[8]=say "hi" there'
    expect_line "$out" 'probe: arg[9]=x"y'
    expect_line "$out" "probe: cwd=$dir/run dir"
    expect_line "$out" "probe: env ZPROBE=value with $dir"
    expect_line "$out" "probe: prop probe.flag=on"
    # One pair of quotes around the list (not a second pair around the
    # expanded entry), and ":" between the entries for a POSIX Java.
    expect_line "$out" "probe: classpath=$classes:$dir/my lib/*"
    expect_line "$out" "#Command line="
    [ -f "$app/zindle.out" ] || fail "no zindle.out in the launcher's directory"
    head -1 "$app/zindle.out" |
      grep -q "^#Version @(#).* Version: ${version//./\\.} " ||
      fail "zindle.out does not begin with the version"
    grep -qF -- "-Dprobe.flag=on -Dprobe.exits=0 -classpath" "$app/zindle.out" ||
      fail "zindle.out lacks the command line"
    [ ! -s "$err" ] || fail "unexpected boxes: $(cat "$err")"
    ;;
  restart)
    # System.exit(999) arrives as 231 and is read as the restart code.
    { echo "javapath $java_home/bin/javaw.exe"; probe_config 999,999,0; } \
      >"$app/runner.config"
    run
    expect_status 0
    expect_count "$out" "#Command line=" 3
    expect_line "$out" "probe: run=2"
    [ ! -s "$err" ] || fail "unexpected boxes: $(cat "$err")"
    ;;
  failure)
    # Exit code 1 with a log file: one run, the "Unexpected Close" box
    # (answered No without a terminal), status 0.
    {
      echo "javapath $java_home/bin/java"
      probe_config 1
      echo "appname Probe"
      echo "vmparam -DLOGFILE=$dir/probe.log"
    } >"$app/runner.config"
    run
    expect_status 0
    expect_count "$out" "#Command line=" 1
    expect_line "$err" "[Unexpected Close] Probe has closed in an unexpected way. Would you like to view the log file?"
    expect_line "$err" "Java returned the following error code: 1"
    run -q
    expect_status 0
    [ ! -s "$err" ] || fail "quiet mode showed: $(cat "$err")"
    ;;
  registry-current)
    # findCurrentJava through a .reg file written for the 32-bit view.
    {
      reg_header
      printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime Environment]\r\n'
      printf '"CurrentVersion"="1.8"\r\n\r\n'
      printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime Environment\\1.8]\r\n'
      printf '"JavaHome"="%s"\r\n' "$java_home"
    } >"$dir/java.reg"
    probe_config 0 >"$app/runner.config"
    ZINDLE_REGISTRY="$dir/java.reg" run
    expect_status 0
    expect_line "$out" "probe: run=0"
    expect_line "$out" "probe: java.home=$java_home"
    ;;
  registry-version)
    # A version scan through a .reg file: 1.6 picks 1.6.0_20 over 1.6.0_7.
    {
      echo REGEDIT4
      echo
      echo '[HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft\Java Runtime Environment\1.6]'
      echo '"JavaHome"="/nonexistent/a"'
      echo '[HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft\Java Runtime Environment\1.6.0_20]'
      echo "\"JavaHome\"=\"$java_home\""
      echo '[HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft\Java Runtime Environment\1.6.0_7]'
      echo '"JavaHome"="/nonexistent/b"'
    } >"$dir/java.reg"
    { echo "javaVersion 1.6"; probe_config 0; } >"$app/runner.config"
    ZINDLE_REGISTRY="$dir/java.reg" run
    expect_status 0
    expect_line "$out" "javaVersion=1.6, javaVer=1.6"
    expect_line "$out" "No patch level found in 1.6"
    expect_line "$out" "found latest java version 1.6.0_20"
    expect_line "$out" "probe: java.home=$java_home"
    # A patch level nobody has: status 11 after the prompt (answered No).
    { echo "javaVersion 1.6.0_30+"; probe_config 0; } >"$app/runner.config"
    ZINDLE_REGISTRY="$dir/java.reg" run
    expect_status 11
    expect_line "$err" "[Incompatible JRE Version Found]  requires the Java Runtime Environment version 1.6.0_30+"
    # An exact version that is missing: status 5 through the reader.
    { echo "javaVersion 1.6.0_21"; probe_config 0; } >"$app/runner.config"
    ZINDLE_REGISTRY="$dir/java.reg" run -q
    expect_status 5
    [ ! -s "$err" ] || fail "quiet mode showed: $(cat "$err")"
    expect_no_line "$out" "probe:"
    ;;
  installed-view)
    # Without ZINDLE_REGISTRY the runtimes under /usr/lib/jvm are the
    # registry, and the current one is the java on PATH.
    case "$java_home" in
      /usr/lib/jvm/*) ;;
      *) echo "SKIP: the java on PATH is not under /usr/lib/jvm"; exit 77 ;;
    esac
    run_without_registry() {
      env -u ZINDLE_REGISTRY bash -c \
        'cd "$1" && timeout 120 "$2/runner" </dev/null >"$3" 2>"$4"' _ \
        "$dir" "$app" "$out" "$err"
      status=$?
    }
    probe_config 0 >"$app/runner.config"
    run_without_registry
    expect_status 0
    expect_line "$out" "probe: run=0"
    expect_line "$out" "probe: java.home=$java_home"
    version=$(sed -n 's/^JAVA_VERSION="\(.*\)"/\1/p' "$java_home/release")
    { echo "javaVersion $version"; probe_config 0; } >"$app/runner.config"
    rm -f "$dir/run dir/probe.count"
    run_without_registry
    expect_status 0
    expect_line "$out" "probe: java.home=$java_home"
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "--- stdout"; cat "$out"; echo "--- stderr"; cat "$err"
  exit 1
fi
echo "PASS $case_name"
