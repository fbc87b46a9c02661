#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz", build/fuzz), replays every
# committed regression input, then fuzzes each target for a bounded time
# from its committed seed corpus. Fails when any target fails to build,
# fails a regression input, or crashes, leaks, times out or breaks one of
# its properties while fuzzing.
#
#   fuzz/run-smoke.sh [seconds per target, default 20] [target ...]
#
# New inputs go to build/fuzz/work/<target>, never into the committed
# corpus; a failing input is kept in build/fuzz/artifacts/<target>/.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] &&
  targets=(config_reader expand_variables java_version command_line
           run_sequence bridge_marshalling)

build=build/fuzz
echo "=== fuzz: configure and build ($build)"
if ! cmake --preset fuzz >"$build.configure.log" 2>&1; then
  cat "$build.configure.log"
  echo "0 passed, ${#targets[@]} failed"
  exit 1
fi

passed=0
failed=0
for t in "${targets[@]}"; do
  bin=$build/fuzz/fuzz_$t
  log=$build/logs/$t.log
  mkdir -p "$build/logs" "$build/work/$t" "$build/artifacts/$t"
  if ! cmake --build "$build" -j2 --target "fuzz_$t" >"$log" 2>&1; then
    grep -E "error|Error" "$log" | head -20
    echo "FAIL $t: build failed (see $log)"
    failed=$((failed + 1))
    continue
  fi

  # Regression inputs: each must now run clean.
  regressions=(fuzz/regressions/$t/*)
  if [ -e "${regressions[0]}" ]; then
    if ! "$bin" -timeout=30 -rss_limit_mb=4096 "${regressions[@]}" \
        >"$log.regressions" 2>&1; then
      grep -E "property violated|ERROR|SUMMARY|Running:" -A1 \
        "$log.regressions" | head -20
      echo "FAIL $t: a regression input fails (see $log.regressions)"
      failed=$((failed + 1))
      continue
    fi
  fi

  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$t/" \
    "$build/work/$t" "fuzz/corpus/$t" >"$log.fuzz" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.fuzz")
  if [ $status -ne 0 ]; then
    grep -E "property violated|ERROR|SUMMARY|artifact_prefix|Test unit" \
      -A1 "$log.fuzz" | head -30
    echo "FAIL $t: fuzzing found a failure (see $log.fuzz and" \
         "$build/artifacts/$t/)"
    failed=$((failed + 1))
  else
    echo "PASS $t: ${runs:-?} executions in ${seconds} s, no failure"
    passed=$((passed + 1))
  fi
done

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
