#!/usr/bin/env bash
# Makes the release of the checked-out commit: the release configuration of
# the three presets (no tests, no sanitizers), the Windows files signed when
# asked (scripts/sign-files.sh), the archives Zindle-<version>-<preset> and
# SHA256SUMS, in dist/.
#
# usage: scripts/release.sh
#
# Everything is built in a temporary folder; dist/ is replaced by the new
# archives only once all of them are made. A checkout with changes that are
# not committed is refused: its archives would not match the commit.
# SOURCE_DATE_EPOCH, the time written into the files and the archives, is
# the commit's time unless it is set. Signing: see scripts/sign-files.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
presets=(linux win32 win64)
python=/usr/bin/python3

if ! git rev-parse --verify -q HEAD >/dev/null; then
  echo "release: $root is not a git checkout with a commit" >&2
  exit 1
fi
changes=$(git status --porcelain --untracked-files=normal)
if [ -n "$changes" ]; then
  echo "release: the checkout has changes that are not committed:" >&2
  echo "$changes" >&2
  exit 1
fi

started=$(date +%s)
commit=$(git rev-parse HEAD)
version=$(head -n 1 VERSION)
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
# The archives take their times in UTC whatever the zone
# (scripts/make-archive.py), and the file lists sort the same everywhere.
export SOURCE_DATE_EPOCH LC_ALL=C

work=$(mktemp -d "${TMPDIR:-/tmp}/zindle-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=$work/step.log

# step NAME COMMAND...: runs a step with its output in the log; a failed
# step stops the release with its name and output.
step() {
  local name=$1
  shift
  echo "== $name"
  if ! "$@" >"$log" 2>&1; then
    echo "release: step \"$name\" failed:" >&2
    cat "$log" >&2
    exit 1
  fi
}

# sign_tree TREE: every .exe and .dll of an install tree, by its path in
# the archive.
sign_tree() (
  cd "$(dirname "$1")"
  mapfile -t files < <(find "$(basename "$1")" -type f \
    \( -iname '*.exe' -o -iname '*.dll' \) | sort)
  "$root/scripts/sign-files.sh" "${files[@]}"
)

step "packages (scripts/setup.sh)" scripts/setup.sh
mkdir -p "$work/dist"
for preset in "${presets[@]}"; do
  build=$work/build/$preset
  name=Zindle-$version-$preset
  tree=$work/stage/$name
  step "$preset: configure" cmake --preset "$preset" -B "$build" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DZINDLE_SANITIZE=OFF
  step "$preset: build" cmake --build "$build" -j2
  step "$preset: install" cmake --install "$build" --prefix "$tree"
  archive=$name.tar.gz
  if [ "$preset" != linux ]; then
    step "$preset: sign" sign_tree "$tree"
    sed 's/^/   /' "$log"
    archive=$name.zip
  fi
  step "$preset: pack $archive" "$python" scripts/make-archive.py \
    "$SOURCE_DATE_EPOCH" "$tree" "$work/dist/$archive"
done
step "checksums" sh -c 'cd "$1" && sha256sum -- *.tar.gz *.zip >SHA256SUMS' \
  checksums "$work/dist"

# Into dist/ at once: copied beside it first, then renamed.
step "dist/" sh -c 'rm -rf "$1.new" && cp -R "$2" "$1.new" &&
  rm -rf "$1" && mv "$1.new" "$1"' move "$root/dist" "$work/dist"

echo
echo "Release $version of commit $commit"
echo "(SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH, $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'))"
echo "made in $(($(date +%s) - started)) s, in $root/dist:"
(cd dist && for f in *; do
  printf '  %-30s %9d bytes\n' "$f" "$(stat -c %s "$f")"
done)
echo "Check with: (cd dist && sha256sum -c SHA256SUMS)"
