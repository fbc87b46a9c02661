#!/usr/bin/env bash
# Builds the three presets (linux, win32, win64) and runs every test, then
# gives each fuzz target a short smoke run.
# Exits non-zero when any build or test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

# Reproducible version texts: the build date is the last commit's.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
  export SOURCE_DATE_EPOCH
fi

failed=()
for preset in linux win32 win64; do
  echo "=== $preset: configure and build"
  if ! { cmake --preset "$preset" >/dev/null &&
         cmake --build --preset "$preset"; }; then
    failed+=("$preset build")
    continue
  fi
  echo "=== $preset: tests"
  ctest --preset "$preset" -j2 || failed+=("$preset tests")
done

# The fuzz targets, each for a short bounded time from its seed corpus,
# after replaying every committed regression input.
echo "=== fuzz: smoke run"
fuzz/run-smoke.sh "${FUZZ_SECONDS:-20}" || failed+=("fuzz smoke run")

if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All presets built and all tests passed."
