#!/usr/bin/env bash
# check_elf.sh NM LIBRARY EXPORTS: the library's defined dynamic symbols are
# exactly the names of the file EXPORTS.
set -euo pipefail
nm=$1 lib=$2 exports=$3
actual=$("$nm" -D --defined-only "$lib" | awk '{print $NF}' | sort)
expected=$(grep -v '^$' "$exports" | sort)
echo "$lib: $(grep -c . <<<"$actual") exported symbols"
if [ "$actual" != "$expected" ]; then
  echo "$lib: exports differ (< expected, > actual):"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
