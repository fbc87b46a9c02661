#!/usr/bin/env bash
# A long fuzzing campaign over every target: by default 10 million
# executions in all, two targets at a time at the lowest priority. Each
# target starts from its committed seed corpus and the inputs found so far
# in build/fuzz/campaign/<target>; a failing input is kept in
# build/fuzz/campaign-artifacts/<target>/ and must become a regression input
# under fuzz/regressions/<target>/.
#
#   fuzz/run-campaign.sh [millions of executions in all, default 10] [target...]
#
# A target stops at its share of the executions or after
# CAMPAIGN_TARGET_SECONDS (default 600) of fuzzing, whichever comes first:
# the configuration reader's inputs may each read thousands of files.
#
# Prints the executions and failures of each target, the totals, and a
# closing line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

millions=${1:-10}
shift || true
limit=${CAMPAIGN_TARGET_SECONDS:-600}
# Share of the executions per target, in percent: the quick targets get
# more.
declare -A share=(
  [command_line]=45 [expand_variables]=20 [java_version]=20
  [config_reader]=3 [run_sequence]=4 [bridge_marshalling]=8)
targets=(config_reader bridge_marshalling java_version expand_variables
         run_sequence command_line)
[ $# -gt 0 ] && targets=("$@")

build=build/fuzz
cmake --preset fuzz >"$build.configure.log" 2>&1 || {
  cat "$build.configure.log"; exit 1; }
cmake --build --preset fuzz >"$build.build.log" 2>&1 || {
  tail -30 "$build.build.log"; exit 1; }

run_target() {
  local t=$1 runs=$2
  local dir=$build/campaign/$t art=$build/campaign-artifacts/$t
  mkdir -p "$dir" "$art"
  nice -n 19 "$build/fuzz/fuzz_$t" -runs="$runs" -max_total_time="$limit" \
    -timeout=20 \
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$art/" \
    "$dir" "fuzz/corpus/$t" >"$build/campaign-$t.log" 2>&1
  echo $? >"$build/campaign-$t.status"
}

start=$(date +%s)
echo "campaign: $millions million executions in all (targets: ${targets[*]})," \
     "started $(date -u)"
running=0
for t in "${targets[@]}"; do
  # Two at a time: the machine has two cores.
  if [ $running -ge 2 ]; then
    wait -n
    running=$((running - 1))
  fi
  runs=$((millions * 10000 * ${share[$t]}))
  run_target "$t" "$runs" &
  running=$((running + 1))
done
wait

total=0
passed=0
failed=0
for t in "${targets[@]}"; do
  log=$build/campaign-$t.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  runs=${runs:-0}
  total=$((total + runs))
  status=$(cat "$build/campaign-$t.status")
  crashes=$(find "$build/campaign-artifacts/$t" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $t: $runs executions, 0 failures"
  else
    failed=$((failed + 1))
    echo "FAIL $t: $runs executions, stopped by a failure" \
         "($crashes input(s) in $build/campaign-artifacts/$t/)"
    grep -E "property violated|ERROR:|SUMMARY" -A1 "$log" | head -6
  fi
done
echo "total: $total executions in $(( $(date +%s) - start )) s," \
     "$failed target(s) with a failure"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
