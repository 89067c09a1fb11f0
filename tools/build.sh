#!/usr/bin/env bash
# Configures (once) and builds every target into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ -f build/CMakeCache.txt ] || cmake --preset mingw32 >/dev/null
echo "[build] building"
cmake --build --preset mingw32 -- --no-print-directory >build/build.log 2>&1 || { tail -n 60 build/build.log >&2; exit 1; }
grep -E "warning:" build/build.log >&2 || true
