#!/usr/bin/env bash
# Starts (start) or stops (stop) Wine for a test run.
#
# Environment (set by CTest for every Wine test):
#   WINEPREFIX          the prefix of the 64-bit build, and the stem of the
#                       32-bit build's prefixes: one per route,
#                       WINEPREFIX-native and WINEPREFIX-qemu, created on
#                       first use, so that neither route reuses the other's
#   ZINDLE_WINE_ARCH    win32 or win64: the bitness of the programs under test
#   ZINDLE_WINE_LOADER  a folder of ours; "start" makes ZINDLE_WINE_LOADER/wine,
#                       the one command every test runs Windows programs with
#                       (it sets the route's prefix itself)
# and, from whoever runs the tests:
#   ZINDLE_WINE_ROUTE   native or qemu: the route of 32-bit programs, whatever
#                       the host; unset, the host decides
#
# win64: the 64-bit loader, directly.
# win32, route native: the stock wine, which needs a host that runs 32-bit
# programs. Route qemu: the 32-bit loader runs under qemu's i386 user-mode
# emulation from a private loader folder (ZINDLE_WINE_LOADER/qemu), so that
# every 32-bit process Wine starts, children included, goes the same way.
# Unset, native where the host runs 32-bit programs, and qemu where it
# cannot (the kernel refuses 32-bit executables: the 32-bit loader exits
# with 126). A route that cannot work here fails, saying why. Nothing
# outside the build folder changes.
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
  local qemu=$1 root=$2
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

# ZINDLE_WINE_LOADER/wine runs the chosen loader in the chosen prefix. A
# script, not a link: Wine finds the rest of itself from the name it was
# started by. "stop" finds the prefix in ZINDLE_WINE_LOADER/prefix.
use_loader() {
  printf '#!/bin/sh\nWINEPREFIX="%s"\nexport WINEPREFIX\nexec "%s" "$@"\n' \
    "$WINEPREFIX" "$1" >"$loader/wine" &&
    chmod +x "$loader/wine" &&
    printf '%s\n' "$WINEPREFIX" >"$loader/prefix"
}

# The route of 32-bit programs: ZINDLE_WINE_ROUTE, or else what the host can.
choose_32bit_route() {
  case "${ZINDLE_WINE_ROUTE:-}" in
    native | qemu) echo "$ZINDLE_WINE_ROUTE" ;;
    "") if host_runs_32bit; then echo native; else echo qemu; fi ;;
    *) return 1 ;;
  esac
}

start() {
  local route how qemu logs
  mkdir -p "$loader" || die "cannot make $loader"
  rm -f "$loader/wine" "$loader/prefix"
  case "$arch" in
    win64)
      how="64-bit loader"
      logs=$loader
      mkdir -p "$WINEPREFIX" || die "cannot make $WINEPREFIX"
      use_loader "$system_wine/wine64"
      ;;
    win32)
      route=$(choose_32bit_route) ||
        die "ZINDLE_WINE_ROUTE must be native or qemu, not '$ZINDLE_WINE_ROUTE'"
      WINEPREFIX=$WINEPREFIX-$route
      logs=$loader/$route
      mkdir -p "$WINEPREFIX" "$logs" || die "cannot make $WINEPREFIX"
      if [ "$route" = native ]; then
        host_runs_32bit ||
          die "route native: this machine cannot execute 32-bit programs" \
            "($system_wine/wine --version: $("$system_wine/wine" --version \
            </dev/null 2>&1 | head -1)); use the route qemu"
        how="native 32-bit"
        use_loader /usr/bin/wine
      else
        qemu=$(find_qemu) ||
          die "route qemu: no qemu-i386 of version 8 or later is installed" \
            "(scripts/setup.sh installs it on a host that cannot execute" \
            "32-bit programs, or with ZINDLE_WINE_ROUTE=qemu)"
        make_emulated_loader "$qemu" "$logs/root" ||
          die "cannot make the loader in $logs/root"
        how="qemu-i386 ($qemu)"
        use_loader "$logs/root/lib/wine/wine"
        # A prefix made through the emulated loader gets its 32-bit system
        # folder filled; the stock wine64 would leave it empty.
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
          timeout 300 "$logs/root/lib/wine/wine64" wineboot -i \
            </dev/null >"$logs/wineboot.log" 2>&1 ||
            die "creating the prefix failed (see $logs/wineboot.log)"
          # Its server must end before the persistent one starts.
          wineserver -w </dev/null >/dev/null 2>&1
        fi
      fi
      [ -n "${ZINDLE_WINE_ROUTE:-}" ] && how="$how, forced by ZINDLE_WINE_ROUTE"
      ;;
    *) die "ZINDLE_WINE_ARCH must be win32 or win64, not $arch" ;;
  esac
  wineserver -p </dev/null >/dev/null 2>&1
  # One harmless program brings the prefix up (about 15 s the first time).
  timeout 300 "$loader/wine" cmd /c exit </dev/null >"$logs/start.log" 2>&1
  local rc=$?
  [ $rc -eq 0 ] || die "wine did not start (status $rc, route $how)" \
    "$(tail -5 "$logs/start.log")"
  echo "wineserver running for $WINEPREFIX, route: $how"
}

stop() {
  # The prefix the last start chose, or the one CTest gave.
  if [ -f "$loader/prefix" ]; then
    WINEPREFIX=$(cat "$loader/prefix")
  fi
  wineserver -k </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1
  echo "wineserver stopped for $WINEPREFIX"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
