#!/usr/bin/env bash
# Runs the real launcher binary on the stress configuration: 10,000 lines,
# a chain of 1,000 includes, 100,000-character lines and expansions past
# 2,047 characters, launching a small script in place of Java. It must end
# by itself with status 0, and the script must have run with the composed
# arguments.
#   zindle-stress.sh ZINDLE_BINARY ZINDLE_STRESS_BINARY
set -euo pipefail
zindle=$1
writer=$2
dir=$(mktemp -d /tmp/zindle-binary-stress-XXXXXX)
trap 'rm -rf "$dir"' EXIT

cp "$zindle" "$dir/stressapp"
cat >"$dir/child.sh" <<'CHILD'
#!/bin/sh
echo "$#" >"$(dirname "$0")/ran"
CHILD
chmod +x "$dir/child.sh"
"$writer" write "$dir" stressapp "$dir/child.sh"

export STRESS_BIG=$(printf 'B%.0s' $(seq 3000))
export STRESS_SMALL=$(printf 's%.0s' $(seq 300))
export STRESS_LOOP='x$STRESS_LOOP'

status=0
(cd /tmp && "$dir/stressapp" -q) >"$dir/out.txt" 2>"$dir/err.txt" || status=$?
echo "launcher exit status: $status"
echo "standard output: $(wc -c <"$dir/out.txt") bytes," \
     "standard error: $(wc -c <"$dir/err.txt") bytes"
head -c 600 "$dir/err.txt"
if [ "$status" -ne 0 ]; then
  echo "FAILED: the launcher ended with status $status"
  exit 1
fi
# The record of the command line goes to standard output in every mode.
if ! grep -q '^#Command line=' "$dir/out.txt"; then
  echo "FAILED: no command line was recorded on standard output"
  exit 1
fi
if [ ! -f "$dir/ran" ]; then
  echo "FAILED: the launched program did not run"
  exit 1
fi
echo "the launched program ran with $(cat "$dir/ran") arguments"
echo "stress run passed"
