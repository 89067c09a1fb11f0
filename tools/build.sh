#!/usr/bin/env bash
# Configures (once) and builds every target into build/. A warning fails the
# build: the compiler's are errors (-Werror, CMakeLists.txt), and one of
# another step (the linker, a generator, the link launcher) fails the run
# that prints it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ -f build/CMakeCache.txt ] || cmake --preset mingw32 >/dev/null
echo "[build] building"
cmake --build --preset mingw32 -- --no-print-directory >build/build.log 2>&1 || { tail -n 60 build/build.log >&2; exit 1; }
if grep -E "warning:" build/build.log >&2; then
  echo "[build] failed on the warnings above (build/build.log)" >&2
  exit 1
fi
