#!/usr/bin/env bash
# For maintainers, not run by the tests: checks that the release of a
# commit can be reproduced. Clones the commit twice, into folders at
# different paths, runs scripts/release.sh unsigned in each (one after the
# other, so at different times, and under different umasks and time zones)
# and compares the two dist/ folders file by file.
#
# usage: scripts/check-reproducible.sh [COMMIT]   (default: HEAD)
# Exits 0 when every file is the same. The clones and their dist/ folders
# are kept when they differ, for a closer look (diffoscope, cmp -l).
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
started=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/tmp}/zindle-reproduce.XXXXXX")

# run N FOLDER UMASK ZONE: a clone of the commit in FOLDER, and its release.
run() {
  local n=$1 dir=$2 mask=$3 zone=$4
  echo "== release $n in $dir (umask $mask, TZ=$zone)"
  git clone -q --no-checkout "$PWD" "$dir"
  git -C "$dir" checkout -q --detach "$commit"
  if ! (cd "$dir" && umask "$mask" &&
    env -u SOURCE_DATE_EPOCH -u ZINDLE_SIGN_PFX -u ZINDLE_SIGN_COMMAND \
      TZ="$zone" scripts/release.sh) >"$work/release-$n.log" 2>&1; then
    echo "check-reproducible: release $n failed; its output:" >&2
    cat "$work/release-$n.log" >&2
    exit 1
  fi
}

first=$work/one
second=$work/another/clone/at/a/longer/path
run 1 "$first" 022 UTC
run 2 "$second" 077 America/Los_Angeles

echo "== comparing dist/"
same=0 differ=0
while read -r name; do
  if cmp -s "$first/dist/$name" "$second/dist/$name"; then
    same=$((same + 1))
    echo "  same     $name"
  else
    differ=$((differ + 1))
    echo "  DIFFERS  $name"
  fi
done < <( (cd "$first/dist" && ls; cd "$second/dist" && ls) | sort -u)

seconds=$(($(date +%s) - started))
if [ "$differ" -ne 0 ]; then
  echo "NOT REPRODUCIBLE: $differ file(s) differ, $same same ($seconds s)."
  echo "Both clones are kept in $work"
  exit 1
fi
rm -rf "$work"
echo "Reproducible: commit $commit, $same files identical in two clones ($seconds s)."
