#!/usr/bin/env bash
# Runs ctest with one shared X server for every test (Wine's desktop process
# outlives single programs, so per-test servers would pull it down under
# other tests) and stops the prefix's Wine processes afterwards.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--loopback" ]; then
  shift
  ip link set lo up
fi

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi

# The prefix's server and services start before the tests, so that no test
# process hands its output pipe to them (ctest would wait for it to close).
export WINEPREFIX="$root/build/wineprefix"
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 </dev/null
"$root/build/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null

ctest --preset mingw32 "$@"
status=$?

wineserver -k 2>/dev/null
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $status
