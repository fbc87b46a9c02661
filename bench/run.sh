#!/usr/bin/env bash
# Runs every benchmark and prints one table of figures, baselines measured in
# the same run, ratios and goals. Builds what it needs first:
#   build/bench/main   the launcher, the bridge and the stand-in (Release)
#   build/bench/tools  the bench-only programs and JNI baselines
#   build/bench/java   the Java harness
# Figures are printed, never checked: this is not a test.
#
#   bench/run.sh              all figures
#   bench/run.sh bridge       only the bridge figures
#   bench/run.sh launcher     only the launcher figures
# Environment: BENCH_SIDE (mesh side, default 1000 for 1e6 cells),
# BENCH_ROUNDS (launcher start rounds, default 200).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
what=${1:-all}
export JAVA_HOME=${JAVA_HOME:-/usr/lib/jvm/java-17-openjdk-amd64}
java=$JAVA_HOME/bin/java
side=${BENCH_SIDE:-1000}
rounds=${BENCH_ROUNDS:-200}
out=build/bench
mkdir -p "$out"
# The stand-in journals nothing without this, so the figures measure the
# bridge and not the journal.
unset QUARNEL_JOURNAL

echo "=== building (logs in $out/*.log)"
cmake --preset linux -B "$out/main" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF -DZINDLE_SANITIZE=OFF >"$out/main-configure.log" 2>&1 ||
  { cat "$out/main-configure.log"; exit 1; }
cmake --build "$out/main" -j2 --target zindle Velmora Quarnel \
  >"$out/main-build.log" 2>&1 || { tail -40 "$out/main-build.log"; exit 1; }
cmake -S bench -B "$out/tools" >"$out/tools-configure.log" 2>&1 ||
  { cat "$out/tools-configure.log"; exit 1; }
cmake --build "$out/tools" -j2 >"$out/tools-build.log" 2>&1 ||
  { tail -40 "$out/tools-build.log"; exit 1; }
rm -rf "$out/java" && mkdir -p "$out/java"
"$JAVA_HOME/bin/javac" -d "$out/java" bridge/java/qel/surface/Native2DSolver.java \
  bench/java/qel/bench/*.java

# Per run, so that two runs at once do not mix their rows.
results=$(mktemp "$out/results.XXXXXX")
machine_file=$(mktemp "$out/machine.XXXXXX")
trap 'rm -f "$results" "$machine_file"' EXIT

machine() {
  echo "machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -1)," \
       "$(free -g | awk '/^Mem:/ {print $2}') GB RAM, $(uname -sr)," \
       "$("$java" -version 2>&1 | head -1)"
  echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
}

bridge() {
  local libs=$root/$out/main/bridge:$root/$out/tools
  local jvm=(-Xms4g -Xmx4g -XX:+AlwaysPreTouch -XX:+UseParallelGC
             -Djava.library.path="$libs" -Dbench.side="$side"
             -cp "$out/java")
  echo "=== bridge: call costs (mesh side $side)"
  "$java" "${jvm[@]}" qel.bench.BridgeBench speed | tee -a "$results"
  echo "=== bridge: memory of the first geometry call (fresh JVM)"
  "$java" "${jvm[@]}" qel.bench.BridgeBench memory | tee -a "$results"
}

launcher() {
  echo "=== launcher: reading a 10,000-line configuration"
  "$out/tools/config_read_bench" 200 | tee -a "$results"

  echo "=== launcher: start overhead ($rounds interleaved rounds)"
  local dir
  dir=$(mktemp -d /tmp/zindle-start-bench-XXXXXX)
  cp "$out/main/zindle/zindle" "$dir/benchapp"
  cp "$out/tools/noop" "$dir/noop"
  cat >"$dir/benchapp.config" <<CONFIG
javapath $dir/noop
vmparam -Xmx64m
addjar lib/app.jar
mainclass qel.bench.Main
CONFIG
  # The arguments the launcher composes for that configuration.
  local times=$dir.times
  "$out/tools/spawn_timer" "$rounds" \
    zindle "$dir/benchapp" --- \
    direct "$dir/noop" -Xmx64m -classpath lib/app.jar qel.bench.Main --- \
    spawn-wait "$out/tools/spawn_wait" "$dir/noop" -Xmx64m -classpath \
      lib/app.jar qel.bench.Main --- \
    java-version "$java" -version | tee "$times"
  awk -F'|' '
    $1 == "TIME" { median[$2] = $3; failures[$2] = $7 }
    END {
      over = median["zindle"] - median["direct"]
      printf "INFO|medians: zindle %.0f us, direct %.0f us, java -version %.0f us; failed starts: %d %d %d\n",
        median["zindle"], median["direct"], median["java-version"],
        failures["zindle"], failures["direct"], failures["java-version"]
      # Judged against the floor measured in the same rounds: what a minimal
      # program that starts and waits for the same one costs. Against a
      # java -version start it depends on how fast Java starts on the machine,
      # so that ratio is printed, not judged.
      floor = median["spawn-wait"] - median["direct"]
      printf "RESULT|launcher overhead (zindle start minus direct start) vs minimal spawn-and-wait|%.4g|us|%.4g|%.4f|<= 1.35x\n",
        over, floor, over / floor
      printf "FIGURE|  also: launcher overhead vs java -version|%.4g|us|%.4g|%.4f|\n",
        over, median["java-version"], over / median["java-version"]
      printf "FIGURE|  part: the spawn-and-wait program vs java -version|%.4g|us|%.4g|%.4f|\n",
        floor, median["java-version"], floor / median["java-version"]
    }' "$times" | tee -a "$results"
  rm -rf "$dir" "$times"

  echo "=== launcher: instructions of a whole run over a 10,000-line configuration"
  if command -v valgrind >/dev/null; then
    dir=$(mktemp -d /tmp/zindle-callgrind-XXXXXX)
    cp "$out/main/zindle/zindle" "$dir/benchapp"
    cp "$out/tools/noop" "$dir/noop"
    "$out/tools/config_read_bench" write "$dir" benchapp "$dir/noop"
    # Instructions, unlike time, are the same from run to run on a busy
    # machine. Only the launcher's own process is counted.
    (cd "$dir" && BENCH_HOME=/opt/bench/model BENCH_WORK=/var/tmp/bench \
      BENCH_USER="bench user" ZINDLE_REGISTRY=/dev/null \
      valgrind --tool=callgrind --callgrind-out-file="$dir/callgrind.out" \
      ./benchapp -q >/dev/null 2>"$dir/valgrind.log")
    local instructions bytes
    instructions=$(sed -n 's/^summary: *//p' "$dir/callgrind.out")
    bytes=$(cat "$dir"/*.config | wc -c)
    echo "INFO|configuration of $(cat "$dir"/*.config | wc -l) lines in 5 files, $bytes bytes" |
      tee -a "$results"
    awk -v n="$instructions" -v bytes="$bytes" 'BEGIN {
      printf "RESULT|instructions of a launcher run over a 10,000-line configuration (callgrind)|%d|instr|%d|%.4f|<= 1x (12 million)\n",
        n, 12000000, n / 12000000
      printf "FIGURE|  per byte of configuration|%.1f|instr/B|40|%.4f|\n", n / bytes, n / bytes / 40
    }' | tee -a "$results"
    rm -rf "$dir"
  else
    echo "valgrind missing: no instruction count (scripts/setup.sh installs it)"
  fi
}

table() {
  echo
  echo "=== summary ($(date -u +%Y-%m-%dT%H:%MZ))"
  cat "$machine_file"
  awk -F'|' '
    $1 == "RESULT" {
      split($7, g, " "); goal = g[2] + 0; op = g[1]
      met = (op == "<=" ? $6 <= goal : $6 < goal) ? "met" : "NOT MET"
      printf "%-80s %10s %-8s baseline %10s  ratio %7s  goal %-18s %s\n",
        $2, $3, $4, $5, $6, $7, met
    }
    $1 == "FIGURE" {
      printf "%-80s %10s %-8s baseline %10s  ratio %7s\n", $2, $3, $4, $5, $6
    }' "$results"
}

machine | tee "$machine_file"
case $what in
  bridge) bridge ;;
  launcher) launcher ;;
  *) bridge; launcher ;;
esac
table
