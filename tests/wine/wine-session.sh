#!/usr/bin/env bash
# Starts (start) or stops (stop) Wine for a test run.
#
# Environment (set by CTest for every Wine test):
#   WINEPREFIX          the prefix, created on first use
#   ZINDLE_WINE_ARCH    win32 or win64: the bitness of the programs under test
#   ZINDLE_WINE_LOADER  a folder of ours; "start" makes ZINDLE_WINE_LOADER/wine,
#                       the one command every test runs Windows programs with
#
# win64: the 64-bit loader, directly, in a prefix of its own.
# win32: the stock wine where the host runs 32-bit programs. Where it cannot
# (the kernel refuses 32-bit executables: the 32-bit loader exits with 126),
# the 32-bit loader runs under qemu's i386 user-mode emulation from a private
# loader folder, so that every 32-bit process Wine starts, children
# included, goes the same way. Nothing outside the build folder changes.
#
# A persistent wineserver serves the whole run: the first Wine process
# otherwise starts wineserver and winedevice with its own output streams,
# and a test runner that captures them waits forever.
set -u
: "${WINEPREFIX:?WINEPREFIX must be set}"
: "${ZINDLE_WINE_LOADER:?ZINDLE_WINE_LOADER must be set}"
arch=${ZINDLE_WINE_ARCH:-win32}
export WINEPREFIX WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
system_wine=/usr/lib/wine
loader=$ZINDLE_WINE_LOADER

die() {
  echo "wine_start: $*"
  exit 1
}

# True when this host executes 32-bit programs: asks the 32-bit loader itself.
host_runs_32bit() {
  "$system_wine/wine" --version </dev/null >/dev/null 2>&1
}

# A qemu-i386 recent enough to run Wine's loader (8.0 or later: older ones
# need minutes per process).
find_qemu() {
  local q version
  q=$(command -v qemu-i386) || return 1
  version=$("$q" --version 2>/dev/null | sed -n '1s/.*version \([0-9]*\)\..*/\1/p')
  [ -n "$version" ] && [ "$version" -ge 8 ] || return 1
  printf '%s' "$q"
}

# The private loader folder: real copies of the two loaders (Wine finds its
# libraries from its own real path), links to the rest of the installation,
# and in place of the 32-bit loader a script that runs it under qemu.
# WINELOADERNOEXEC keeps Wine from re-executing its loader, which the host
# kernel would refuse.
make_emulated_loader() {
  local qemu=$1 root=$loader/root
  rm -rf "$root"
  mkdir -p "$root/lib/wine" "$root/lib/x86_64-linux-gnu" \
    "$root/lib/i386-linux-gnu" "$root/share" || return 1
  cp "$system_wine/wine64" "$root/lib/wine/wine64" &&
    cp "$system_wine/wine" "$root/lib/wine/wine.i386" || return 1
  ln -s "$system_wine/wineserver" "$root/lib/wine/wineserver"
  ln -s /usr/lib/x86_64-linux-gnu/wine "$root/lib/x86_64-linux-gnu/wine"
  ln -s /usr/lib/i386-linux-gnu/wine "$root/lib/i386-linux-gnu/wine"
  ln -s /usr/share/wine "$root/share/wine"
  cat >"$root/lib/wine/wine" <<SCRIPT
#!/bin/sh
WINELOADERNOEXEC=1 exec "$qemu" -L / -0 "$root/lib/wine/wine" "$root/lib/wine/wine.i386" "\$@"
SCRIPT
  chmod +x "$root/lib/wine/wine"
}

# ZINDLE_WINE_LOADER/wine runs the chosen loader. A script, not a link:
# Wine finds the rest of itself from the name it was started by.
use_loader() {
  printf '#!/bin/sh\nexec "%s" "$@"\n' "$1" >"$loader/wine" &&
    chmod +x "$loader/wine"
}

start() {
  local route qemu
  mkdir -p "$WINEPREFIX" "$loader" || die "cannot make $WINEPREFIX"
  rm -f "$loader/wine"
  case "$arch" in
    win64)
      route="64-bit loader"
      use_loader "$system_wine/wine64"
      ;;
    win32)
      if host_runs_32bit; then
        route="native 32-bit"
        use_loader /usr/bin/wine
      else
        qemu=$(find_qemu) ||
          die "this machine cannot execute 32-bit programs, and no qemu-i386" \
            "of version 8 or later is installed (scripts/setup.sh installs it)"
        make_emulated_loader "$qemu" || die "cannot make the loader in $loader"
        route="qemu-i386 ($qemu)"
        use_loader "$loader/root/lib/wine/wine"
        # A prefix made through the emulated loader gets its 32-bit system
        # folder filled; the stock wine64 would leave it empty.
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
          timeout 300 "$loader/root/lib/wine/wine64" wineboot -i \
            </dev/null >"$loader/wineboot.log" 2>&1 ||
            die "creating the prefix failed (see $loader/wineboot.log)"
          # Its server must end before the persistent one starts.
          wineserver -w </dev/null >/dev/null 2>&1
        fi
      fi
      ;;
    *) die "ZINDLE_WINE_ARCH must be win32 or win64, not $arch" ;;
  esac
  wineserver -p </dev/null >/dev/null 2>&1
  # One harmless program brings the prefix up (about 15 s the first time).
  timeout 300 "$loader/wine" cmd /c exit </dev/null >"$loader/start.log" 2>&1
  local rc=$?
  [ $rc -eq 0 ] || die "wine did not start (status $rc, route $route)" \
    "$(tail -5 "$loader/start.log")"
  echo "wineserver running for $WINEPREFIX, route: $route"
}

case "${1:-}" in
  start) start ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    echo "wineserver stopped"
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
