#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite under
# Wine. Extra arguments go to ctest (e.g. -R commons).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh
bash tools/build.sh

echo "[tests] running the suite under Wine"
# A private network namespace keeps port 80 of the loopback to our own test
# servers; loopback is the only interface inside.
if [ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null; then
  exec unshare --net bash tools/test-session.sh --loopback "$@"
fi
exec bash tools/test-session.sh "$@"
