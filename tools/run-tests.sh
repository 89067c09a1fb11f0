#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite under
# Wine. Extra arguments go to ctest (e.g. -R commons).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# A private network namespace keeps port 80 of the loopback to our own test
# servers; loopback is the only interface inside. As root the suite never
# runs in the host's namespace, where port 80 may be taken or reach out; it
# stops before the set-up and build instead.
if [ "$(id -u)" -eq 0 ] && ! why=$(unshare --net true 2>&1); then
  echo "[tests] cannot make a private network namespace (unshare --net: ${why:-failed});" \
    "the tests' servers need a loopback of their own" >&2
  exit 1
fi

bash tools/setup.sh
bash tools/build.sh

echo "[tests] running the suite under Wine"
if [ "$(id -u)" -eq 0 ]; then
  exec unshare --net bash tools/test-session.sh --loopback "$@"
fi
exec bash tools/test-session.sh "$@"
