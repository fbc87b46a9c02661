#!/usr/bin/env bash
# End-to-end runs of a launcher executable (Zindle.exe or Zindle64.exe)
# under Wine with a stub java.exe/javaw.exe of the same bitness.
#
# usage: run-wine-case.sh CASE LAUNCHER_EXE TOOLS_DIR WORK_DIR
# TOOLS_DIR holds java.exe, javaw.exe (the stub) and box_driver.exe. Each
# case gets WORK_DIR/CASE with a copy of the launcher under its own name,
# the configuration named after it and a runtime directory jre\bin holding
# the stub. WINEPREFIX names a prefix whose wineserver is already running;
# ZINDLE_WINE_LOADER/wine runs programs of the launcher's bitness
# (ZINDLE_WINE_ARCH), whose registry view the cases write. Cases named boxes-*
# run under Xvfb, where box_driver.exe records and answers every box.
set -u
case_name=$1 zindle=$2 bin=$3 work=$4
: "${WINEPREFIX:?WINEPREFIX must be set}"

: "${ZINDLE_WINE_LOADER:?ZINDLE_WINE_LOADER must be set}"
wine=$ZINDLE_WINE_LOADER/wine
exe=$(basename "$zindle")
view=32
[ "${ZINDLE_WINE_ARCH:-win32}" = win64 ] && view=64
version=$(cat "$(dirname "$0")/../../VERSION")

dir="$work/$case_name"
rm -rf "$dir"
mkdir -p "$dir/jre/bin" "$dir/run dir"
cp "$zindle" "$dir/$exe"
cp "$bin/java.exe" "$bin/javaw.exe" "$dir/jre/bin/"
cp "$bin/box_driver.exe" "$dir/"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
W=$(winpath "$dir")
out="$dir/stdout.txt" err="$dir/stderr.txt" record="$dir/record.txt"
boxes="$dir/boxes.txt"
export ZSTUB_RECORD="$W\\record.txt" ZSTUB_EXITS=0
unset DISPLAY
# The launcher's Java search reads JAVA_HOME: the cases set it themselves.
unset JAVA_HOME
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_line() {  # file, exact line (CR ignored)
  tr -d '\r' <"$1" 2>/dev/null | grep -qxF -- "$2" ||
    fail "$(basename "$1") lacks the line [$2]"
}
expect_count() {  # file, exact line, count
  local n
  n=$(tr -d '\r' <"$1" 2>/dev/null | grep -cxF -- "$2")
  [ "$n" -eq "$3" ] || fail "$(basename "$1") has [$2] $n times, not $3"
}
expect_status() {
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
expect_no_run() {
  [ ! -e "$record" ] || fail "Java was started: $(cat "$record")"
}
# The launcher by its absolute Windows path, no display: boxes return at once.
run() {
  (cd "$dir" && timeout 120 "$wine" "$W\\$exe" "$@" </dev/null \
    >"$out" 2>"$err")
  status=$?
}
# The launcher under Xvfb through the box driver; answers for Yes/No boxes
# first ("no,yes"), then the options. The status is the one the driver saw.
run_boxes() {
  local answers=$1
  shift
  rm -f "$boxes"
  # A virtual desktop of its own, on this Xvfb display: the prefix's
  # default desktop was made without a display and shows no windows.
  desktops=$((${desktops:-0} + 1))
  (cd "$dir" && timeout 150 xvfb-run -a "$wine" explorer \
    "/desktop=zbox$$-$desktops,800x600" "$W\\box_driver.exe" \
    "$W\\boxes.txt" "$answers" "$W\\$exe" "$@" </dev/null \
    >"$out" 2>"$err")
  status=$(sed -n 's/^exit=//p' "$boxes" 2>/dev/null | tr -d '\r')
  [ -n "$status" ] || { fail "the box driver did not finish"; status=-1; }
}
expect_boxes() {  # the exact list of boxes, one "caption|text" per argument
  local expected="" actual
  [ $# -eq 0 ] || expected=$(printf 'box %s\n' "$@")
  actual=$(grep '^box ' "$boxes" | tr -d '\r')
  [ "$expected" = "$actual" ] ||
    fail "boxes differ"$'\n'"expected:"$'\n'"$expected"$'\n'"actual:"$'\n'"$actual"
}
# Replaces the runtimes of the launcher's registry view by those of a .reg text
# read from standard input.
# An optional argument names the other view (32 or 64).
registry() {
  cat >"$dir/java.reg"
  no_registry "${1:-$view}"
  "$wine" reg import "$W\\java.reg" /reg:"${1:-$view}" </dev/null \
    >/dev/null 2>&1 || fail "reg import failed"
}
# Removes every key the launcher's Java search reads, from both views and
# from HKEY_CURRENT_USER: the cases share one prefix. reg import applies a
# deletion in its own view only, whatever /reg: says; reg delete reaches the
# other one.
search_keys=(JavaSoft 'Eclipse Adoptium' AdoptOpenJDK 'Microsoft\JDK'
  'Azul Systems' BellSoft)
no_registry() {
  local key
  { printf 'REGEDIT4\r\n\r\n'
    for key in "${search_keys[@]}"; do
      printf '[-HKEY_LOCAL_MACHINE\\SOFTWARE\\%s]\r\n' "$key"
      printf '[-HKEY_CURRENT_USER\\SOFTWARE\\%s]\r\n' "$key"
    done
  } >"$dir/clean.reg"
  "$wine" reg import "$W\\clean.reg" </dev/null >/dev/null 2>&1
  for key in "${search_keys[@]}"; do
    "$wine" reg delete "HKLM\\Software\\$key" /f /reg:$((96 - view)) \
      </dev/null >/dev/null 2>&1
  done
}
# Imports a .reg text from standard input as written (the 32-bit view's
# keys named under Wow6432Node), after removing what the search reads.
registry_views() {
  cat >"$dir/views.reg"
  no_registry
  "$wine" reg import "$W\\views.reg" /reg:64 </dev/null >/dev/null 2>&1 ||
    fail "reg import failed"
}
# A path as a .reg file writes it: each backslash doubled.
reg_path() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
# A runtime directory of its own holding the stub, and a release file when
# a version is given: runtime DIR [VERSION].
runtime() {
  mkdir -p "$dir/$1/bin"
  cp "$bin/java.exe" "$bin/javaw.exe" "$dir/$1/bin/"
  [ -z "${2:-}" ] || printf 'JAVA_VERSION="%s"\n' "$2" >"$dir/$1/release"
}
# Reads a configuration naming app.Main quietly and expects the javaw.exe
# of runtime folder $1 started: expect_started_from DIR.
expect_started_from() {
  rm -f "$record"
  printf 'mainclass app.Main\r\n' | config
  run -q
  expect_status 0
  expect_line "$record" "cmdline=\"$W\\$1\\bin\\javaw.exe\" app.Main"
}
# Waits up to 20 s for a line in a file a process started without waiting
# writes.
await_line() {
  local i
  for i in $(seq 40); do
    tr -d '\r' <"$1" 2>/dev/null | grep -qxF -- "$2" && return
    sleep 0.5
  done
  fail "$(basename "$1") lacks the line [$2]"
}
# A .reg text: one "name=home" argument per runtime, CurrentVersion first
# when given as "current=name".
reg_text() {
  printf 'REGEDIT4\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment]\r\n'
  local a
  for a; do
    case "$a" in current=*) printf '"CurrentVersion"="%s"\r\n' "${a#current=}" ;; esac
  done
  for a; do
    case "$a" in
      current=*) ;;
      *)
        printf '\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\%s]\r\n' "${a%%=*}"
        printf '"JavaHome"="%s"\r\n' "$(printf '%s' "${a#*=}" | sed 's/\\/\\\\/g')"
        ;;
    esac
  done
}
config() { cat >"$dir/${exe%.exe}.config"; }
stub="$W\\jre\\bin\\javaw.exe"

case "$case_name" in
  smoke)
    printf 'mainclass app.Main\r\njavapath %s\r\n' "$stub" | config
    run -q
    expect_status 0
    expect_count "$record" "#run 0" 1
    expect_line "$record" "cmdline=$stub app.Main"
    ;;
  sample)
    # Written into the directory the launcher was started from, with CR LF
    # line ends, and nothing launched.
    (cd "$dir/run dir" && timeout 120 "$wine" "$W\\$exe" -sample \
      </dev/null >"$out" 2>"$err")
    status=$?
    expect_status 0
    expect_no_run
    sample="$dir/run dir/sample.config"
    [ "$(wc -l <"$sample" 2>/dev/null)" = 43 ] ||
      fail "sample.config does not have 43 lines"
    [ "$(grep -c $'\r$' "$sample" 2>/dev/null)" = 43 ] ||
      fail "sample.config lines do not all end in CR LF"
    head -1 "$sample" | grep -q '^#Created with version @(#).* Version: 1\.2\.6 ' ||
      fail "sample.config first line: $(head -1 "$sample")"
    expect_line "$sample" "#showConsole true"
    [ ! -e "$dir/sample.config" ] ||
      fail "sample.config written beside the executable"
    ;;
  unreadable-config)
    # A configuration path that names a directory exists but cannot be read.
    mkdir "$dir/${exe%.exe}.config"
    run -q
    expect_status 2
    expect_no_run
    ;;
  restart-and-record)
    # 999 then 0: two runs with the same command line; what Java gets.
    ZSTUB_EXITS=999,0
    # Expanded with a blank, the folder comes back in quotes: the joined
    # class path still gets one pair only.
    export ZAPPDIR='C:\Program Files\Model'
    config <<CONFIG
javapath $stub
mainclass app.Main
vmparam -Dprobe=on
addpath lib\\a.jar
addpath C:\\Program Files\\b.jar
addjars \$ZAPPDIR\\lib
argument two words
argument "already quoted"
workingDir $W\\run dir
setenv ZSTUB_VALUE=from setenv
CONFIG
    run -o first
    expect_status 0
    expect_count "$record" "#run 0" 1
    expect_count "$record" "#run 1" 1
    expect_count "$record" "#run 2" 0
    line="$stub -Dprobe=on -classpath \"lib\\a.jar;C:\\Program Files\\b.jar;C:/Program Files/Model/lib/*\" app.Main \"first\" \"two words\" \"already quoted\" "
    expect_count "$record" "cmdline=$line" 2
    expect_line "$record" "arg[1]=-Dprobe=on"
    expect_line "$record" "arg[2]=-classpath"
    expect_line "$record" "arg[3]=lib\\a.jar;C:\\Program Files\\b.jar;C:/Program Files/Model/lib/*"
    expect_line "$record" "arg[4]=app.Main"
    expect_line "$record" "arg[5]=first"
    expect_line "$record" "arg[6]=two words"
    expect_line "$record" "arg[7]=already quoted"
    expect_line "$record" "argc=8"
    expect_line "$record" "cwd=$W\\run dir"
    expect_line "$record" "env ZSTUB_VALUE=from setenv"
    expect_line "$record" "program=javaw.exe"
    # zindle.out in the launcher's directory, in text mode (CR LF).
    [ -f "$dir/zindle.out" ] || fail "no zindle.out"
    head -1 "$dir/zindle.out" |
      grep -q "^#Version @(#).* Version: ${version//./\\.} .*"$'\r$' ||
      fail "zindle.out does not begin with the version and CR LF"
    [ "$(sed -n 2p "$dir/zindle.out")" = $'#Command line=\r' ] ||
      fail "zindle.out line 2: $(sed -n 2p "$dir/zindle.out")"
    [ "$(sed -n 3p "$dir/zindle.out")" = "$line"$'\r' ] ||
      fail "zindle.out line 3: $(sed -n 3p "$dir/zindle.out")"
    expect_count "$out" "#Command line=" 2
    ;;
  arguments)
    # Quotes, backslashes, blanks and tabs arrive as written, from the
    # configuration and from the launcher's own command line; an argument
    # written in quotes is passed as it stands.
    config <<CONFIG
javapath $stub
mainclass app.Main
argument C:\\Program Files\\
argument NEXT
argument say "hi" there
argument x"y
argument a\\\\"b
argument "already quoted"
CONFIG
    run 'tail\' 'q"uote'
    expect_status 0
    expect_line "$record" 'arg[1]=app.Main'
    expect_line "$record" 'arg[2]=tail\'
    expect_line "$record" 'arg[3]=q"uote'
    expect_line "$record" 'arg[4]=C:\Program Files\'
    expect_line "$record" 'arg[5]=NEXT'
    expect_line "$record" 'arg[6]=say "hi" there'
    expect_line "$record" 'arg[7]=x"y'
    expect_line "$record" 'arg[8]=a\\"b'
    expect_line "$record" 'arg[9]=already quoted'
    expect_line "$record" "argc=10"
    expect_line "$record" "split=agrees"
    ;;
  encodings)
    # A UTF-8 mark and UTF-16 with its mark read as the plain file does, and
    # both reach Java in the ANSI code page (1252 here); a file without a
    # mark passes its bytes as they are. What 1252 lacks becomes "?", never a
    # look-alike: not L for Ł, not a real quote for the fullwidth one.
    printf 'mainclass app.Main\r\njavapath %s\r\nargument caf\xc3\xa9\r\nargument \xc5\x81ukasz \xef\xbc\x82x\r\n' \
      "$stub" >"$dir/plain.txt"
    for enc in none UTF-8 UTF-16LE UTF-16BE; do
      { case $enc in
          none) cat "$dir/plain.txt" ;;
          UTF-8) printf '\xef\xbb\xbf' ;;
          UTF-16LE) printf '\xff\xfe' ;;
          UTF-16BE) printf '\xfe\xff' ;;
        esac
        [ $enc = none ] || iconv -f UTF-8 -t "$enc" "$dir/plain.txt"; } | config
      rm -f "$record"
      run -q
      expect_status 0
      expect_line "$record" "arg[1]=app.Main"
      expect_line "$record" "argc=4"
      if [ $enc = none ]; then
        expect_line "$record" "arg[2]=caf"$'\xc3\xa9'
        expect_line "$record" "arg[3]="$'\xc5\x81'"ukasz "$'\xef\xbc\x82'"x"
      else
        expect_line "$record" "arg[2]=caf"$'\xe9'
        expect_line "$record" "arg[3]=?ukasz ?x"
      fi
    done
    ;;
  working-folder)
    # A working folder with a blank, quoted by the expansion or by hand, is
    # the Java process's current directory without the quotes.
    export ZWORK="$W\\run dir"
    for line in 'workingDir $ZWORK' "workingDir \"$W\\run dir\""; do
      printf 'javapath %s\r\nmainclass app.Main\r\n%s\r\n' "$stub" "$line" | config
      rm -f "$record"
      run -q
      expect_status 0
      expect_line "$record" "cwd=$W\\run dir"
    done
    ;;
  not-started)
    # Status 2 when Java was not started; a Java that ran and failed gives 0.
    printf 'javapath %s\r\nmainclass app.Main\r\n' "$W\\nowhere\\javaw.exe" | config
    run -q
    expect_status 2
    expect_no_run
    ZSTUB_EXITS=3
    printf 'javapath %s\r\nmainclass app.Main\r\n' "$stub" | config
    run -q
    expect_status 0
    expect_count "$record" "#run 0" 1
    ;;
  no-record-without-o)
    printf 'javapath %s\r\nmainclass app.Main\r\n' "$stub" | config
    run
    expect_status 0
    [ ! -e "$dir/zindle.out" ] || fail "zindle.out written without -o"
    expect_count "$out" "#Command line=" 1
    ;;
  version-missing)
    reg_text "1.6.0_05=$W\\jre" | registry
    printf 'appname Model\r\njavaVersion 1.6.0_21\r\nmainclass app.Main\r\n' | config
    run -q
    expect_status 5
    expect_no_run
    ;;
  version-incompatible)
    reg_text "1.6.0_05=$W\\jre" | registry
    printf 'javaVersion 1.6.0_10+\r\nmainclass app.Main\r\n' | config
    run -q
    expect_status 11
    expect_no_run
    ;;
  version-scan)
    reg_text "1.6=C:\\none" "1.6.0_20=$W\\jre" "1.6.0_7=C:\\none7" | registry
    printf 'javaVersion 1.6\r\nmainclass app.Main\r\n' | config
    run -q
    expect_status 0
    expect_line "$out" "found latest java version 1.6.0_20"
    expect_line "$out" "No patch level found in 1.6"
    expect_line "$record" "cmdline=\"$W\\jre\\bin\\javaw.exe\" app.Main"
    ;;
  current-java)
    # The current runtime; quoted (Wine reports a Windows after Vista), and
    # java.exe in debug mode.
    reg_text "current=1.8" "1.8=$W\\jre" "1.6.0_20=C:\\none" | registry
    printf 'mainclass app.Main\r\n' | config
    run -q
    expect_status 0
    expect_line "$record" "program=javaw.exe"
    expect_line "$record" "cmdline=\"$W\\jre\\bin\\javaw.exe\" app.Main"
    rm -f "$record"
    run -d
    expect_status 0
    expect_line "$record" "program=java.exe"
    expect_line "$out" "CreateProcess ret 1, exitCode=0"
    ;;
  no-java)
    no_registry
    printf 'mainclass app.Main\r\n' | config
    run -q
    expect_status 2
    expect_no_run
    ;;
  other-view)
    # A runtime registered only in the other view: the current runtime's
    # key is read in the launcher's own view only, and the wider search
    # then finds it in the other one.
    other=$((96 - view))
    no_registry
    reg_text "current=1.8" "1.8=$W\\jre" | registry "$other"
    printf 'mainclass app.Main\r\n' | config
    run -q
    no_registry
    expect_status 0
    expect_line "$record" "cmdline=\"$W\\jre\\bin\\javaw.exe\" app.Main"
    ;;
  search-temurin)
    # No JavaSoft key: the Temurin MSI key of the 64-bit view wins over a
    # 32-bit Java 8, from either launcher; JAVA_HOME with a higher release
    # version wins over both.
    runtime jre8
    jre=$(reg_path "$W\\jre\\") jre8=$(reg_path "$W\\jre8")
    registry_views <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Eclipse Adoptium\JDK\17.0.9.9\hotspot\MSI]
"Path"="$jre"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\JavaSoft\Java Runtime Environment\1.8.0_301]
"JavaHome"="$jre8"
REG
    expect_started_from jre
    runtime jh 21.0.1
    JAVA_HOME="$W\jh" expect_started_from jh
    no_registry
    ;;
  search-stale)
    # Keys outlive runtimes: a newer JDK of the 64-bit view whose home is
    # gone is passed over for a runtime of the 32-bit view.
    runtime jre8
    jre8=$(reg_path "$W\\jre8") gone=$(reg_path 'C:\gone\jdk-21')
    registry_views <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft\JDK\21]
"JavaHome"="$gone"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\JavaSoft\Java Runtime Environment\1.8]
"JavaHome"="$jre8"
REG
    expect_started_from jre8
    no_registry
    ;;
  min-version)
    # The highest runtime of at least the minimum, the current one included;
    # none: status 5 and nothing started.
    runtime jre11
    reg_text "current=11" "11=$W\jre11" "17.0.2=$W\jre" | registry
    printf 'javaMinVersion 17\r\nmainclass app.Main\r\n' | config
    run -q
    expect_status 0
    expect_line "$record" "cmdline=\"$W\jre\bin\javaw.exe\" app.Main"
    rm -f "$record"
    printf 'javaMinVersion 21\r\nmainclass app.Main\r\n' | config
    run -q
    expect_status 5
    expect_no_run
    no_registry
    ;;
  boxes-download-url)
    # Yes opens the configured page through a stand-in rundll32.exe beside
    # the launcher, which CreateProcessA finds first; a value that is not a
    # web address is ignored.
    no_registry
    cp "$bin/java.exe" "$dir/rundll32.exe"
    printf 'appname Model\r\njavaDownloadUrl https://example.org/get java\r\njavaDownloadUrl https://example.org/java\r\njavaMinVersion 99\r\n' | config
    run_boxes "yes"
    expect_status 5
    expect_boxes "Java Runtime Environment Not Found|Model requires the Java Runtime Environment version 99\\nDo you want to download it?"
    await_line "$record" 'cmdline=rundll32 url.dll,FileProtocolHandler "https://example.org/java"'
    expect_line "$record" "program=rundll32.exe"
    rm -f "$record"
    printf 'javaDownloadUrl file:///C:/windows/notepad.exe\r\njavaVersion 1.6.0_21\r\n' | config
    run_boxes "yes"
    expect_status 5
    sleep 2
    expect_no_run
    ;;
  boxes-error)
    # Exit code 1 at once, no log file: the "Error" box.
    ZSTUB_EXITS=1
    printf 'javapath %s\r\nmainclass app.Main\r\n' "$stub" | config
    run_boxes ""
    expect_status 0
    expect_boxes "Error|Error launching Class app.Main\\n with Java $stub.\\nError=1"
    run_boxes "" -q
    expect_status 0
    expect_boxes
    ;;
  boxes-unexpected-close)
    ZSTUB_EXITS=7
    printf 'javapath %s\r\nmainclass app.Main\r\nappname Model\r\nvmparam -DLOGFILE=%s\r\n' \
      "$stub" "$W\\app.log" | config
    text="Unexpected Close|Model has closed in an unexpected way. Would you like to view the log file?\\n\\nLog file location:$W\\app.log\\n\\nJava returned the following error code: 7"
    run_boxes "no"
    expect_status 0
    expect_boxes "$text"
    run_boxes "yes"
    expect_status 0
    expect_boxes "$text"
    expect_count "$record" "#run 1" 1
    ;;
  boxes-download)
    reg_text "1.6.0_05=$W\\jre" | registry
    printf 'appname Model\r\njavaVersion 1.6.0_10+\r\n' | config
    run_boxes "no"
    expect_status 11
    expect_boxes "Incompatible JRE Version Found|Model requires the Java Runtime Environment version 1.6.0_10+\\nDo you want to download it?"
    printf 'appname Model\r\njavaVersion 1.6.0_21\r\n' | config
    run_boxes "yes"
    expect_status 5
    expect_boxes "Java Runtime Environment Not Found|Model requires the Java Runtime Environment version 1.6.0_21\\nDo you want to download it?"
    expect_no_run
    ;;
  boxes-debug)
    reg_text "current=1.8" "1.8=$W\\jre" | registry
    printf 'mainclass app.Main\r\nargument a b\r\nworkingDir %s\r\n' "$W\\run dir" | config
    run_boxes "" -d
    expect_status 0
    grep '^box ' "$boxes" | tr -d '\r' |
      sed -n '/^box MainClass is|/,$p' >"$dir/launch-boxes.txt"
    line="\"$W\\jre\\bin\\java.exe\" app.Main \"a b\" "
    printf 'box %s\n' "MainClass is|app.Main" \
      "Adding double quotes around|$W\\jre" \
      "Javapath is|\"$W\\jre\\bin\\java.exe\"" \
      "Adding double quotes around|a b" \
      "Starting dir|$W\\run dir" \
      "Command Line is|$line" \
      "Show Console|false" >"$dir/expected-boxes.txt"
    diff "$dir/expected-boxes.txt" "$dir/launch-boxes.txt" >/dev/null ||
      fail "debug boxes differ: $(diff "$dir/expected-boxes.txt" "$dir/launch-boxes.txt")"
    expect_line "$record" "program=java.exe"
    ;;
  boxes-no-java)
    # Shown in quiet mode too.
    no_registry
    printf 'mainclass app.Main\r\n' | config
    run_boxes "" -q
    expect_status 2
    expect_boxes "Error!|No Java Installation Found"
    # The wider search finds no home that holds Java either.
    reg_text "current=1.9" "1.8=C:\\none" | registry
    run_boxes "" -q
    expect_status 2
    expect_boxes "Error!|No Java Installation (No Current Version) Found"
    expect_no_run
    ;;
  boxes-no-mainclass)
    # No main class and no -jar: the reports name the configuration looked
    # for, on standard error too.
    ZSTUB_EXITS=1
    reg_text "current=1.8" "1.8=$W\\jre" | registry
    looked="the configuration file $W\\${exe%.exe}.config"
    run_boxes ""
    expect_status 0
    expect_boxes "Error|Error launching Class \\n with Java \"$W\\jre\\bin\\javaw.exe\".\\nError=1\\nNo main class is set: $looked was not found."
    run
    expect_line "$err" "No main class is set: $looked was not found."
    printf 'javapath %s\r\nappname Model\r\n' "$stub" | config
    run_boxes ""
    expect_boxes "Error|Error launching Class \\n with Java $stub.\\nError=1\\nNo main class is set: $looked has no mainclass line."
    printf 'javapath %s\r\nvmparam -jar app.jar\r\n' "$stub" | config
    run_boxes ""
    expect_boxes "Error|Error launching Class \\n with Java $stub.\\nError=1"
    ;;
  boxes-start-failure)
    printf 'javapath %s\r\nmainclass app.Main\r\n' "$W\\nowhere\\javaw.exe" | config
    run_boxes ""
    expect_status 2
    grep -q '^box Error Starting Java|Java could not be started.\\nError 2: ' "$boxes" ||
      fail "no start failure box: $(cat "$boxes")"
    grep -q "Command line:\\\\n$(printf '%s' "$W\\nowhere" | sed 's/\\/\\\\/g')" "$boxes" ||
      fail "the box does not show the command line"
    # A working directory that does not exist: the box names it.
    printf 'javapath %s\r\nmainclass app.Main\r\nworkingDir %s\r\n' \
      "$stub" "$W\\missing dir" | config
    run_boxes ""
    expect_status 2
    # The box driver writes a line end as \n.
    grep -qF "Working directory:\\n$W\\missing dir\\nCommand line:" "$boxes" ||
      fail "the box does not name the working directory: $(cat "$boxes")"
    # A command line past the system's limit says so.
    { printf 'javapath %s\r\nmainclass app.Main\r\n' "$stub"
      for i in $(seq 1000 6000); do printf 'vmparam -Dp%s\r\n' "$i"; done
    } | config
    run_boxes ""
    expect_status 2
    grep -q 'Windows accepts at most 32,767' "$boxes" ||
      fail "no mention of the limit: $(cut -c1-300 "$boxes")"
    expect_no_run
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac

if [ "$failures" -ne 0 ]; then
  for f in "$out" "$err" "$record" "$boxes"; do
    [ -f "$f" ] && { echo "--- $(basename "$f")"; cut -c1-400 "$f"; }
  done
  exit 1
fi
echo "PASS $case_name"
