#!/usr/bin/env bash
# Starts (start) or stops (stop) a persistent wineserver for a test run.
# WINEPREFIX names the prefix; it is created on first use.
set -u
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
case "${1:-}" in
  start)
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    # One harmless program brings the prefix up (about 15 s the first time).
    timeout 300 wine cmd /c exit </dev/null >/dev/null 2>&1
    rc=$?
    [ $rc -eq 0 ] || { echo "wine did not start (status $rc)"; exit 1; }
    echo "wineserver running for $WINEPREFIX"
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1
    echo "wineserver stopped"
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
