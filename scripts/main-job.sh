#!/usr/bin/env bash
# The main job: builds the Linux launcher and runs it on the example
# application, showing what it finds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target zindle >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/linux/zindle/zindle "$work/model"
cp examples/launcher/model.config "$work/model.config"
echo "--- $work/model -d"
"$work/model" -d
echo "--- launcher exit status: $?"
