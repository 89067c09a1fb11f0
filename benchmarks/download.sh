#!/usr/bin/env bash
# Throughput of CDownloader (WinInet, under Wine) next to curl, both fetching
# the same file from the local test server in one run, and how often its
# progress moves on a slow link (about 100 KiB/s). Needs root for port 80;
# runs in a private network namespace.
# Usage: benchmarks/download.sh [BUILD_DIR] [SIZE_MIB]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
size=$(( ${2:-200} * 1024 * 1024 ))

if [ -z "${BENCHMARK_NAMESPACE:-}" ]; then
  exec unshare --net env BENCHMARK_NAMESPACE=1 bash "$0" "$build" "${2:-200}"
fi
ip link set lo up

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export size scratch build
python3 "$here/../bootfetch/tests/http_fault_server.py" run -- bash -c '
  set -e
  url=http://127.0.0.1/file/$size
  "$build/wine-run" cmd /c exit >/dev/null 2>&1 || true  # prefix and wineserver up first
  curl -s -o "$scratch/curl.bin" -w "%{size_download} %{time_total}\n" "$url" |
    awk "{ printf \"curl: %.1f MiB in %.2f s = %.1f MiB/s\n\", \$1/1048576, \$2, \$1/1048576/\$2 }"
  "$build/wine-run" "$build/benchmarks/download_benchmark.exe" CDownloader "$url"
  # 1 KiB every 10 ms, about 100 KiB/s, for 10 s.
  "$build/wine-run" "$build/benchmarks/download_benchmark.exe" "slow link" \
    http://127.0.0.1/slow/1024000/10
'
