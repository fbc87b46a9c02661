#!/usr/bin/env bash
# Cases of scripts/apt-archive-uri.sh: which archive the machine's apt
# sources give for bookworm. Each case is a set of source files and the
# address expected, or "-" where the script must fail.
set -u
script=$(dirname "$0")/../../scripts/apt-archive-uri.sh
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
failures=0

# check NAME EXPECTED FILE CONTENT [FILE CONTENT...]: FILE relative to the
# apt folder.
check() {
  local name=$1 expected=$2 etc=$work/$1 got status
  shift 2
  mkdir -p "$etc/sources.list.d"
  while [ $# -ge 2 ]; do
    printf '%s\n' "$2" >"$etc/$1"
    shift 2
  done
  got=$("$script" bookworm "$etc" 2>"$etc.err")
  status=$?
  if [ "$expected" = - ]; then
    [ $status -eq 1 ] && [ -z "$got" ] && grep -q bookworm "$etc.err" ||
      { echo "FAIL $name: status $status, printed '$got'"; failures=$((failures + 1)); }
  elif [ $status -ne 0 ] || [ "$got" != "$expected" ]; then
    echo "FAIL $name: status $status, printed '$got', expected '$expected'"
    failures=$((failures + 1))
  fi
}

check deb822-security-first http://a.invalid/debian \
  sources.list.d/debian.sources "Types: deb
# a comment inside an entry
URIs: http://a.invalid/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: http://a.invalid/debian http://b.invalid/debian
Suites: bookworm bookworm-updates
Components: main"

check deb822-disabled-and-source-only http://c.invalid/debian \
  sources.list.d/a.sources "Types: deb
URIs: http://a.invalid/debian
Suites: bookworm
Enabled: no

Types: deb-src
URIs: http://b.invalid/debian
Suites: bookworm" \
  sources.list.d/b.sources "types: deb-src deb
uris:
 http://c.invalid/debian
suites: bookworm-updates
 bookworm"

check one-line-with-options http://d.invalid/debian/ \
  sources.list "# deb http://x.invalid/debian bookworm main
deb http://d.invalid/debian-security bookworm-security main
deb-src http://x.invalid/debian bookworm main
deb [ arch=amd64 signed-by=/usr/share/keyrings/k.gpg ] http://d.invalid/debian/ bookworm main contrib"

check list-before-sources-and-disabled-files http://e.invalid/debian \
  sources.list.d/old.list.disabled "deb http://x.invalid/debian bookworm main" \
  sources.list.d/e.list "deb http://e.invalid/debian bookworm main" \
  sources.list.d/f.sources "Types: deb
URIs: http://f.invalid/debian
Suites: bookworm"

check only-security - \
  sources.list "deb http://a.invalid/debian-security bookworm-security main" \
  sources.list.d/s.sources "Types: deb
URIs: http://a.invalid/debian
Suites: bookworm-updates bookworm-backports"

check nothing -

[ $failures -eq 0 ] || exit 1
echo "all cases passed"
