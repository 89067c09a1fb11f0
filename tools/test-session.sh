#!/usr/bin/env bash
# Runs ctest with one shared X server for every test (Wine's desktop process
# outlives single programs, so per-test servers would pull it down under
# other tests) and stops the prefix's Wine processes afterwards.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/test-root-trust.sh
. "$root/tools/test-root-trust.sh"
enter_trust_namespace "$0" "$@"

if [ "${1:-}" = "--loopback" ]; then
  shift
  ip link set lo up
fi

trust_test_root "$root/build"

# shellcheck source=tools/xvfb.sh
. "$root/tools/xvfb.sh"
start_private_xvfb 90 || exit 1

# The prefix's server and services start before the tests, so that no test
# process hands its output pipe to them (ctest would wait for it to close).
# The prefix itself is made first: a server started on an empty folder would
# make it a 64-bit one.
export WINEPREFIX="$root/build/wineprefix"
"$root/build/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null
wineserver -w
wineserver -p >/dev/null 2>&1 </dev/null
"$root/build/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null

ctest --preset mingw32 "$@"
status=$?

wineserver -k 2>/dev/null
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $status
