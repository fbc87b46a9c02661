#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Idempotent, and quick when everything is already there.
set -euo pipefail

packages=(
  cmake make g++ python3 libgtest-dev libgmock-dev openjdk-17-jdk-headless
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  gfortran gfortran-mingw-w64-x86-64
  wine wine64 wine32:i386 xvfb xauth xdotool junit5
  clang libclang-rt-14-dev python3-pefile valgrind
  osslsigncode openssl
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  echo "Packages installed."
fi

# Some hosts cannot execute 32-bit programs at all (the 32-bit loader fails
# with "Exec format error"). There the Wine tests of 32-bit programs run
# Wine's 32-bit loader under qemu's i386 user-mode emulation; so do they on
# any host with ZINDLE_WINE_ROUTE=qemu, while ZINDLE_WINE_ROUTE=native asks
# for the stock 32-bit loader (tests/wine/wine-session.sh). Debian 12's own
# qemu-user (7.2) needs half a minute per process; the one from Debian's
# bookworm-backports suite (10.x) is a static build without dependencies
# and works. It is fetched from the archive the machine's apt sources use
# for bookworm, through a private apt configuration, so the machine's
# package sources stay as they are, and installed without its recommended
# binfmt registration.
route=${ZINDLE_WINE_ROUTE:-}
host_runs_32bit() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}
qemu_major() {
  qemu-i386 --version 2>/dev/null | sed -n '1s/.*version \([0-9]*\)\..*/\1/p'
}
# True when 32-bit programs need the emulator and it is not there yet.
needs_qemu() {
  case "$route" in
    native) return 1 ;;
    qemu) ;;
    *) host_runs_32bit && return 1 ;;
  esac
  local major
  major=$(qemu_major)
  [ -z "$major" ] || [ "$major" -lt 8 ]
}
case "$route" in
  "" | qemu) ;;
  native)
    host_runs_32bit || {
      echo "ZINDLE_WINE_ROUTE=native, but this host cannot execute 32-bit" \
        "programs (/usr/lib/wine/wine fails); use ZINDLE_WINE_ROUTE=qemu" >&2
      exit 1
    }
    ;;
  *)
    echo "ZINDLE_WINE_ROUTE must be native or qemu, not '$route'" >&2
    exit 1
    ;;
esac
if needs_qemu; then
  if [ -n "$route" ]; then
    echo "ZINDLE_WINE_ROUTE=$route: installing qemu-user from bookworm-backports"
  else
    echo "This host cannot run 32-bit programs: installing qemu-user from bookworm-backports"
  fi
  archive=$("$(dirname "$0")/apt-archive-uri.sh" bookworm)
  apt_dir=$(mktemp -d)
  trap 'rm -rf "$apt_dir"' EXIT
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  echo "deb $archive bookworm-backports main" >"$apt_dir/sources.list"
  chmod -R a+rwX "$apt_dir"
  apt_options=(-o Dir::Etc::SourceList="$apt_dir/sources.list"
               -o Dir::Etc::SourceParts=/nonexistent
               -o Dir::State::Lists="$apt_dir/lists"
               -o Dir::Cache="$apt_dir/cache")
  $sudo apt-get "${apt_options[@]}" update -qq
  (cd "$apt_dir" && $sudo apt-get "${apt_options[@]}" download -qq qemu-user)
  $sudo apt-get install -y -qq --no-install-recommends "$apt_dir"/qemu-user_*.deb \
    >/dev/null
  echo "qemu-user $(qemu_major).x installed."
fi
