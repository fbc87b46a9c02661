#!/usr/bin/env bash
# Prints the address of the Debian package archive this machine's apt sources
# use for a suite, so that a private apt configuration can reach the same
# archive for a neighbouring suite (bookworm-backports beside bookworm).
#
# usage: apt-archive-uri.sh SUITE [APT_ETC_DIR]
#
# Reads, in apt's order, APT_ETC_DIR/sources.list and then the files of
# APT_ETC_DIR/sources.list.d: one-line entries ("deb [options] URI SUITE
# COMPONENT...") in *.list files, deb822 entries (Types/URIs/Suites) in
# *.sources files. The first enabled "deb" entry whose suites include SUITE
# itself (not SUITE-security or SUITE-updates) gives its first URI. Exits 1,
# saying so, when no entry serves SUITE.
set -euo pipefail
suite=${1:?usage: apt-archive-uri.sh SUITE [APT_ETC_DIR]}
etc=${2:-/etc/apt}

# One-line format. Options in brackets may hold blanks.
from_list() {
  awk -v suite="$suite" '
    { sub(/#.*/, ""); gsub(/\[[^]]*\]/, " ") }
    $1 == "deb" && $3 == suite { print $2; exit }' "$1"
}

# deb822 format: paragraphs of "Field: value" lines, continuation lines
# starting with a blank, comments starting with "#".
from_sources() {
  awk -v suite="$suite" '
    function judge(   n, i, words, served) {
      if (tolower(f["enabled"]) == "no") return
      n = split(f["types"], words, /[ \t]+/)
      served = 0
      for (i = 1; i <= n; i++) if (words[i] == "deb") served = 1
      if (!served) return
      served = 0
      n = split(f["suites"], words, /[ \t]+/)
      for (i = 1; i <= n; i++) if (words[i] == suite) served = 1
      if (!served) return
      split(f["uris"], words, /[ \t]+/)
      if (words[1] != "") { print words[1]; found = 1; exit }
    }
    /^#/ { next }
    /^[ \t]*$/ { judge(); split("", f); field = ""; next }
    /^[ \t]/ { value = f[field] " " $0 }
    /^[^ \t]/ {
      field = tolower(substr($0, 1, index($0, ":") - 1))
      value = substr($0, index($0, ":") + 1)
    }
    { sub(/^[ \t]+/, "", value); f[field] = value }
    END { if (!found) judge() }' "$1"
}

files=("$etc/sources.list")
for f in "$etc"/sources.list.d/*; do files+=("$f"); done
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  uri=""
  case "$f" in
    *.list) uri=$(from_list "$f") ;;
    *.sources) uri=$(from_sources "$f") ;;
  esac
  if [ -n "$uri" ]; then
    echo "$uri"
    exit 0
  fi
done
echo "apt-archive-uri.sh: no enabled 'deb' entry for the suite $suite in" \
  "$etc/sources.list or $etc/sources.list.d/ (*.list, *.sources)" >&2
exit 1
