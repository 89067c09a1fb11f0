#!/usr/bin/env bash
# Throughput of CDownloader (WinInet, under Wine) next to two references that
# fetch the same file from the local test server in the same run, in turn,
# ROUNDS times each: a bare WinInet program in the same Wine (one GET, 1 MiB
# reads into a file) and curl, which runs natively. The same file pinned
# (its SHA-256 in the URL's fragment) next to the download's hashing alone:
# the same bytes in the same pieces to the same hashing thread, without the
# network and the file. Then how often CDownloader's progress moves on a slow
# link (about 100 KiB/s), and what a Retry after a body that broke off at
# 75 % puts on the wire (from the server's log) against the part that was
# missing; a 64 MiB package over a link that drops every 4 MiB, resumed by
# itself: the user's actions it needs and its bytes on the wire against the
# package. Needs root for port 80; runs in a private network namespace.
# Usage: benchmarks/download.sh [BUILD_DIR] [SIZE_MIB] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
size=$(( ${2:-200} * 1024 * 1024 ))
rounds=${3:-5}

if [ -z "${BENCHMARK_NAMESPACE:-}" ]; then
  exec unshare --net env BENCHMARK_NAMESPACE=1 bash "$0" "$build" "${2:-200}" "$rounds"
fi
ip link set lo up

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The SHA-256 of the server's pattern body of that size, for the pinned URL.
pin=$(python3 -c "
import hashlib, sys
size = int(sys.argv[1])
piece = bytes(i % 251 for i in range(251)) * 4096
digest = hashlib.sha256()
while size > 0:
    digest.update(piece[:min(size, len(piece))])
    size -= len(piece)
print(digest.hexdigest())" "$size")
export size rounds scratch build pin
python3 "$here/../bootfetch/tests/http_fault_server.py" run -- bash -c '
  set -e
  url=http://127.0.0.1/file/$size
  "$build/wine-run" cmd /c exit >/dev/null 2>&1 || true  # prefix and wineserver up first
  for _ in $(seq "$rounds"); do
    curl -s -o "$scratch/curl.bin" -w "%{size_download} %{time_total}\n" "$url" |
      awk "{ printf \"curl: %.1f MiB in %.2f s = %.1f MiB/s\n\", \$1/1048576, \$2, \$1/1048576/\$2 }"
    "$build/wine-run" "$build/benchmarks/bare_wininet_download.exe" "bare WinInet" "$url"
    "$build/wine-run" "$build/benchmarks/download_benchmark.exe" CDownloader "$url"
    "$build/wine-run" "$build/benchmarks/download_benchmark.exe" "pinned CDownloader" \
      "$url#sha256=$pin"
    "$build/wine-run" "$build/benchmarks/sha256_benchmark.exe" "$size" "$url#sha256=$pin"
  done
  # 1 KiB every 10 ms, about 100 KiB/s, for 10 s.
  "$build/wine-run" "$build/benchmarks/download_benchmark.exe" "slow link" \
    http://127.0.0.1/slow/1024000/10
  cut=$((size * 3 / 4))
  curl -s -o /dev/null http://127.0.0.1/_log  # forgets the requests so far
  "$build/wine-run" "$build/benchmarks/download_benchmark.exe" "resumed retry" \
    "http://127.0.0.1/resume/etag/$size/$cut/benchmark" --retry
  # The second request is the Retry; its last field counts the head too.
  curl -s http://127.0.0.1/_log | awk -F "\t" -v missing=$((size - cut)) \
    "NR == 2 { printf \"resumed retry on the wire: %d bytes for %d missing, ratio %.4f\n\", \$7, missing, \$7 / missing }"
  # A link that drops every 4 MiB of a 64 MiB package: what the user must do,
  # and every byte the server sent, heads included, against the package.
  drops_size=$((64 * 1024 * 1024))
  "$build/wine-run" "$build/benchmarks/download_benchmark.exe" "dropping link" \
    "http://127.0.0.1/drops/ranges/$drops_size/$((4 * 1024 * 1024))/benchmark" --resume-by-itself
  curl -s http://127.0.0.1/_log | awk -F "\t" -v size=$drops_size \
    "{ sent += \$7 } END { printf \"dropping link on the wire: %d bytes for %d, ratio %.4f\n\", sent, size, sent / size }"
'
