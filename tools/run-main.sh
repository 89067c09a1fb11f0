#!/usr/bin/env bash
# Sets up the machine and builds the deliverables.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh
bash tools/build.sh

echo "[main] built:"
find build -maxdepth 3 \( -name '*.exe' -o -name '*.dll' -o -name '*.a' \) \
  -not -path 'build/googletest/*' -not -name '*_tests.exe' | sort | sed 's/^/  /'
