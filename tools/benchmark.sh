#!/usr/bin/env bash
# Measures the deliverables and prints a table, which it also writes, with a
# description of the machine, to docs/benchmarks.md. Figures only: nothing
# here passes or fails on a time.
#   1. start-up: bootfetch.exe start to visible dialog next to a bare program
#      showing the same dialog, 20 runs each, as the ratio of the medians and
#      of the fastest runs, and where bootfetch's extra time goes (median of
#      5 fresh processes per step); the image mapping: the bare dialog
#      padded to bootfetch's size, aligned as bootfetch is vs not
#   2. catalogue: CLanguageSimpleFile load next to a bare Xerces DOM parse
#   3. lookup: GetTranslation over every identifier of the catalogue
#   4. download: 200 MiB from the local server, CDownloader next to a bare
#      WinInet program in the same Wine and next to curl (medians of 5
#      rounds); the same file pinned next to the download's hashing alone;
#      progress moves on a slow link (about 100 KiB/s); a Retry's bytes on
#      the wire after a body broke off at 75 %; the publisher check of a
#      signed package of the same size next to one SHA-256 pass over it; a
#      64 MiB package over a link that drops every 4 MiB, resumed by itself:
#      the user's actions and the bytes on the wire against the package
#   5. size: stripped bootfetch.exe and setupaux.dll, and their Authenticode
#      signatures apart
#   6. the dialog's timer tick with the status line next to without it
# Needs root: the HTTP servers listen on port 80 of a private network
# namespace. Usage: tools/benchmark.sh [DOWNLOAD_MIB]
# With BASELINE_BOOTFETCH set to the bootfetch.exe of another build (say, of
# the main branch before a change), row 1 also times that one against this
# build's, side by side; BASELINE_NAME names it in the table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
download_mib=${1:-200}
# Start-up figures swing by a few per cent from run to run; 20 runs each
# keep the medians steady.
startup_runs=20
# The image mapping moves start-up by a few per cent, less than 20 runs
# scatter on a shared machine: its row takes twice as many.
mapping_runs=40
# Each download takes well under a second: the median of 5 rounds steadies it.
download_rounds=5

if [ -z "${BENCHMARK_NAMESPACE:-}" ]; then
  bash tools/setup.sh
  bash tools/build.sh
  exec unshare --net --mount env BENCHMARK_NAMESPACE=1 TRUST_NAMESPACE=1 bash "$0" "$@"
fi
ip link set lo up
# The publisher check needs the build's test root trusted under Wine.
# shellcheck source=tools/test-root-trust.sh
. "$root/tools/test-root-trust.sh"
trust_test_root "$root/build"

build="$root/build"
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# One X server for all runs; Wine's prefix and server are started once first.
# shellcheck source=tools/xvfb.sh
. "$root/tools/xvfb.sh"
start_private_xvfb 100
"$build/wine-run" cmd /c exit >/dev/null 2>&1 || true

field() { grep -oE "$2" "$work/$1" | head -n 1 | grep -oE '[0-9.]+' | head -n 1; }
# The median MiB/s of the download lines that start with $1.
median_rate() {
  { grep "^$1" "$work/download.txt" || true; } | grep -oE '[0-9.]+ MiB/s' | grep -oE '[0-9.]+' |
    sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'
}
ratio_of() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "n/a" }'; }

echo "[bench] 1. start-up ($startup_runs runs of each program, alternating)"
# A slow body keeps the download running until the dialog is cancelled.
wine_build="$(printf 'Z:%s' "${build//\//\\}")"
slow_url="http://127.0.0.1/slow/1048576/200"
python3 bootfetch/tests/http_fault_server.py run -- \
  "$build/wine-run" "$build/benchmarks/startup_benchmark.exe" \
  "$wine_build\\bootfetch\\bootfetch.exe" "$wine_build\\benchmarks\\bare_dialog.exe" \
  "$slow_url" "$startup_runs" | tr -d '\r' | tee "$work/startup.txt"
baseline_row=
if [ -n "${BASELINE_BOOTFETCH:-}" ]; then
  python3 bootfetch/tests/http_fault_server.py run -- \
    "$build/wine-run" "$build/benchmarks/startup_benchmark.exe" \
    "$(printf 'Z:%s' "${BASELINE_BOOTFETCH//\//\\}")" "$wine_build\\bootfetch\\bootfetch.exe" \
    "$slow_url" "$startup_runs" | tr -d '\r' | tail -n 1 | sed 's/bare dialog/this build/g' | tee "$work/baseline.txt"
  baseline_row=$'\n'"| 1b | Start-up: baseline \`bootfetch.exe\` (${BASELINE_NAME:-$BASELINE_BOOTFETCH}) vs this build's (${startup_runs} runs each, alternating) | median $(field baseline.txt 'bootfetch median [0-9.]+') ms vs $(field baseline.txt 'this build median [0-9.]+') ms, ratio $(field baseline.txt 'ratio of medians [0-9.]+'); fastest $(field baseline.txt 'bootfetch fastest [0-9.]+') ms vs $(field baseline.txt 'this build fastest [0-9.]+') ms, ratio $(field baseline.txt 'ratio of fastest [0-9.]+') |"
fi
echo "[bench] 1c. image mapping ($mapping_runs runs of each padded bare dialog, alternating)"
# The benchmark's first program is the aligned one; the bare dialogs ignore
# the URL.
"$build/wine-run" "$build/benchmarks/startup_benchmark.exe" \
  "$wine_build\\benchmarks\\bare_dialog_padded_aligned.exe" "$wine_build\\benchmarks\\bare_dialog_padded.exe" \
  unused "$mapping_runs" | tr -d '\r' | tail -n 1 |
  sed -e 's/bootfetch/aligned/g' -e 's/bare dialog/not aligned/g' | tee "$work/mapping.txt"
mapping_row="| 1c | Image mapping: the bare dialog padded with 2.2 MB of code that nothing runs, its sections at the same offsets in the file as in memory (4,096 bytes, as \`bootfetch.exe\`) vs at the default 512 bytes (${mapping_runs} runs each, alternating) | median $(field mapping.txt ': aligned median [0-9.]+') ms vs $(field mapping.txt 'not aligned median [0-9.]+') ms, ratio $(field mapping.txt 'ratio of medians [0-9.]+'); fastest $(field mapping.txt '; aligned fastest [0-9.]+') ms vs $(field mapping.txt 'not aligned fastest [0-9.]+') ms, ratio $(field mapping.txt 'ratio of fastest [0-9.]+') |"
for _ in 1 2 3 4 5; do
  "$build/wine-run" "$build/benchmarks/startup_breakdown.exe" | tr -d '\r'
done | grep '^breakdown:' | tee "$work/breakdown.txt"
# One table row per step with its median over the runs.
breakdown=$(sed 's/^breakdown: //' "$work/breakdown.txt" | tr ',' '\n' | sed 's/^ *//' |
  awk '{ ms = $NF; $NF = ""; sub(/ $/, ""); v[$0] = v[$0] " " ms; if (!($0 in seen)) { seen[$0] = 1; order[++n] = $0 } }
       END { for (i = 1; i <= n; i++) { c = split(v[order[i]], a, " ")
         for (j = 2; j <= c; j++) for (k = j; k > 1 && a[k] + 0 < a[k - 1] + 0; k--) { t = a[k]; a[k] = a[k - 1]; a[k - 1] = t }
         printf "| %s | %.1f ms |\n", order[i], a[int((c + 1) / 2)] } }')
# What the start-up waited for when the catalogue loaded before the dialog.
catalogue_steps=$(printf '%s\n' "$breakdown" | grep -E 'XML library|temporary file|parse and table' |
  awk -F'|' '{ sum += $3 } END { printf "%.1f", sum }')

echo "[bench] 2./3. catalogue load and lookup"
"$build/wine-run" "$build/benchmarks/catalogue_benchmark.exe" | tr -d '\r' | tee "$work/catalogue.txt"
"$build/wine-run" "$build/benchmarks/load_benchmark.exe" | tr -d '\r' | tee "$work/load.txt"

echo "[bench] 4. download of $download_mib MiB, $download_rounds rounds"
BENCHMARK_NAMESPACE=1 bash benchmarks/download.sh "$build" "$download_mib" "$download_rounds" 2>&1 |
  grep -E '^(curl|bare WinInet|CDownloader|pinned CDownloader|bare SHA-256|slow link|resumed retry|dropping link)' | tr -d '\r' | tee "$work/download.txt"

echo "[bench] 4d. publisher check of a $download_mib MiB signed package, $download_rounds rounds"
bash benchmarks/publisher_check.sh "$build" "$download_mib" "$download_rounds" 2>&1 |
  grep -E '^publisher check' | tee "$work/publisher.txt"

echo "[bench] 5. stripped sizes and signatures"
# strip rewrites a file from its sections, so the copy leaves out the
# signature appended after them.
size_of() {
  i686-w64-mingw32-strip -o "$work/stripped" "$1"
  stat -c %s "$work/stripped"
}
# The signature is the attribute-certificate table: its size is the second
# half of data directory entry 4, 156 bytes into a PE32 file's NT headers.
nt_headers_pointer=60
certificate_table_size_field=156
le32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
signature_of() {
  le32 "$1" $(($(le32 "$1" $nt_headers_pointer) + certificate_table_size_field))
}
exe_size=$(size_of "$build/bootfetch/bootfetch.exe")
dll_size=$(size_of "$build/setupaux/setupaux.dll")
exe_signature=$(signature_of "$build/bootfetch/bootfetch.exe")
dll_signature=$(signature_of "$build/setupaux/setupaux.dll")
echo "bootfetch.exe $exe_size bytes + signature $exe_signature," \
  "setupaux.dll $dll_size bytes + signature $dll_signature" | tee "$work/size.txt"

echo "[bench] 6. the dialog's timer tick with and without the status line"
"$build/wine-run" "$build/benchmarks/status_tick_benchmark.exe" | tr -d '\r' | tee "$work/tick.txt"

# ---- the table --------------------------------------------------------------
startup_median=$(field startup.txt 'bootfetch median [0-9.]+')
bare_median=$(field startup.txt 'bare dialog median [0-9.]+')
startup_ratio=$(field startup.txt 'ratio of medians [0-9.]+')
startup_fastest=$(field startup.txt 'bootfetch fastest [0-9.]+')
bare_fastest=$(field startup.txt 'bare dialog fastest [0-9.]+')
startup_fastest_ratio=$(field startup.txt 'ratio of fastest [0-9.]+')
load_ms=$(field catalogue.txt 'CLanguageSimpleFile [0-9.]+')
dom_ms=$(field catalogue.txt 'DOM parse [0-9.]+')
ratio=$(field catalogue.txt 'ratio [0-9.]+')
lookup_us=$(field catalogue.txt 'GetTranslation [0-9.]+')
lookup_count=$(field catalogue.txt 'over [0-9]+')
curl_rate=$(median_rate curl)
bare_rate=$(median_rate 'bare WinInet')
ours_rate=$(median_rate CDownloader)
pinned_rate=$(median_rate 'pinned CDownloader')
sha_rate=$(median_rate 'bare SHA-256')
pin_bound=$(awk -v a="${ours_rate:-0}" -v b="${sha_rate:-0}" 'BEGIN { print (a < b ? a : b) }')
slow_moves=$(grep '^slow link' "$work/download.txt" | grep -oE '\([0-9.]+/s\)' | grep -oE '[0-9.]+' || true)
slow_still=$(grep '^slow link' "$work/download.txt" | grep -oE 'at most [0-9]+ ms' | grep -oE '[0-9]+' || true)
retry_line=$(grep '^resumed retry on the wire' "$work/download.txt" || true)
retry_sent=$(echo "$retry_line" | grep -oE '[0-9]+ bytes' | grep -oE '[0-9]+' || true)
retry_missing=$(echo "$retry_line" | grep -oE '[0-9]+ missing' | grep -oE '[0-9]+' || true)
retry_ratio=$(echo "$retry_line" | grep -oE 'ratio [0-9.]+' | grep -oE '[0-9.]+' || true)
# "median CHECK ms vs one SHA-256 pass HASH ms, ratio R" of the package kind $1.
check_figures() {
  grep "^publisher check .$1" "$work/publisher.txt" | grep -oE 'median [0-9.]+ ms vs one SHA-256 pass [0-9.]+ ms, ratio [0-9.]+' |
    sed 's/^median //; s/one SHA-256 pass //' || true
}
drops_actions=$(field download.txt 'user actions [0-9]+')
drops_tries=$(field download.txt 'automatic tries [0-9]+')
drops_ratio=$(grep '^dropping link on the wire' "$work/download.txt" | grep -oE 'ratio [0-9.]+' | grep -oE '[0-9.]+' || true)
# The figure after $2 on the line of tick.txt that holds $1.
tick_field() { grep "$1" "$work/tick.txt" | grep -oE "$2 [0-9.]+" | grep -oE '[0-9.]+$' || true; }
tick_with=$(tick_field painted 'with the line')
tick_without=$(tick_field painted without)
tick_ratio=$(tick_field painted ratio)
handler_with=$(tick_field 'handler alone' 'with the line')
handler_without=$(tick_field 'handler alone' without)
handler_ratio=$(tick_field 'handler alone' ratio)

cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)
table=$(cat <<TABLE
| # | Measure | Result |
|---|---|---|
| 1 | Start-up: process start to visible dialog, \`bootfetch.exe\` vs a bare program showing the same dialog (${startup_runs} runs each, alternating; goal 1.1 or less, fastest runs) | median ${startup_median} ms vs ${bare_median} ms, ratio ${startup_ratio}; fastest ${startup_fastest} ms vs ${bare_fastest} ms, ratio ${startup_fastest_ratio} |${baseline_row}
${mapping_row}
| 2 | Catalogue: built-in catalogue through \`CLanguageSimpleFile\` vs bare Xerces DOM parse (medians of 20, alternating) | ${load_ms} ms vs ${dom_ms} ms, ratio ${ratio} |
| 3 | Lookup: \`GetTranslation\` over all ${lookup_count} identifiers (20 rounds) | mean ${lookup_us} µs per call |
| 4 | Download: ${download_mib} MiB from the local server, \`CDownloader\` vs bare WinInet in the same Wine, and vs \`curl\` (medians of ${download_rounds} rounds) | ${ours_rate} MiB/s vs ${bare_rate} MiB/s, ratio $(ratio_of "$ours_rate" "$bare_rate"); \`curl\` ${curl_rate} MiB/s, ratio $(ratio_of "$ours_rate" "$curl_rate") |
| 4a | Pinned download: the same file with its SHA-256 in the URL's fragment vs the lesser of the unpinned download and the download's hashing alone (the system's SHA-256 on the same bytes in the same pieces, on the same hashing thread; medians of ${download_rounds} rounds; goal 0.9 or more) | ${pinned_rate} MiB/s vs min(${ours_rate}, ${sha_rate}) MiB/s, ratio $(ratio_of "$pinned_rate" "$pin_bound") |
| 4b | Slow link: 1000 KiB at about 100 KiB/s, how often \`GetProgress\` moves (the dialog looks every 500 ms) | ${slow_moves} times a second, still at most ${slow_still} ms |
| 4c | Resumed Retry: the body of ${download_mib} MiB breaks off at 75 %, then one Retry; bytes the server sent for the Retry, its head included, vs the missing part (goal: at most the missing part plus one read) | ${retry_sent} vs ${retry_missing} bytes, ratio ${retry_ratio} |
| 4d | Publisher check: a ${download_mib} MiB package signed by the build's certificate, checked as bootfetch checks it (on the file held for reading, against the signed \`bootfetch.exe\`'s publisher) vs one SHA-256 pass over the same file in the same Wine (medians of ${download_rounds} rounds, alternating; goal 1.2 or less); the same bytes appended to a signed program, whose digest Wine computes | .msi: $(check_figures msi); program: $(check_figures exe) |
| 4e | Dropping link: a 64 MiB package from a server that drops the connection after every 4 MiB and serves ranges, resumed by itself (pauses included) | user actions ${drops_actions} (goal 0), automatic tries ${drops_tries}; bytes on the wire vs the package's size, heads included, ratio ${drops_ratio} (goal at most 1.01) |
| 5 | Size: stripped \`bootfetch.exe\` / \`setupaux.dll\`, each without its Authenticode signature; the signatures | ${exe_size} / ${dll_size} bytes; signatures ${exe_signature} / ${dll_signature} bytes |
| 6 | Timer tick: the dialog's tick with the status line (speed sampled, line worded and set) vs without it (the bar alone), the text changing at every tick, painted and as the handler alone (medians of 5 × 2000 ticks; goal under 200 µs) | painted ${tick_with} µs vs ${tick_without} µs, ratio ${tick_ratio}; handler alone ${handler_with} µs vs ${handler_without} µs, ratio ${handler_ratio} |
TABLE
)
machine=$(cat <<MACHINE
- Date: $(date -u '+%Y-%m-%d %H:%M UTC')
- CPU: ${cpu:-unknown}, $(nproc) cores available (shared with other work while measuring)
- Memory: $(free -m | awk '/^Mem:/ {print $2}') MiB; kernel $(uname -r) ($(uname -m))
- System: $(. /etc/os-release && echo "$PRETTY_NAME"); $(wine --version 2>/dev/null | head -n 1)
- Compiler: $(i686-w64-mingw32-g++-posix --version | head -n 1)
MACHINE
)
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  machine+=$'\n'"- This kernel cannot run 32-bit programs: Wine's 32-bit half (and so every Windows figure above, rows 1-4) runs under a user-mode i386 emulator (qemu via binfmt_misc). Expect native Windows or native Wine to be several times faster; curl runs natively, so row 4's ratio to curl says little here and its ratio to bare WinInet in the same Wine is the downloader's."
fi

echo
echo "$table"
echo
echo "$machine"

# The catalogue load as at start-up, Xerces initialised by each load.
load_section=
if [ -s "$work/load.txt" ]; then
  load_section=$'The catalogue load as at start-up, Xerces initialised by each load\n(`load_benchmark.exe`):\n\n```\n'"$(cat "$work/load.txt")"$'\n```\n\n'
fi

mkdir -p docs
cat >docs/benchmarks.md <<DOC
# Benchmarks

Produced by \`tools/benchmark.sh\` (figures only; no test depends on them).
Windows programs run under Wine; the HTTP servers listen on 127.0.0.1 in a
private network namespace.

$table

Row 1 measures \`bootfetch.exe\` from CreateProcess to its dialog becoming
visible, which includes the built-in catalogue's load (the download starts
on a worker thread only once the dialog is shown and painted), next to
\`bare_dialog.exe\`, which shows the
same dialog resource with the same manifest and nothing else
(\`startup_benchmark.exe\`, each run cancelled). It gives the ratio of the
medians and that of the fastest runs: where other work shares the machine,
the medians move with its load from one run to the next, while the fastest
runs are those the load held back least. Row 1c times the same way two
copies of the bare dialog padded to about \`bootfetch.exe\`'s size
(\`bare_dialog_padded_aligned.exe\` and \`bare_dialog_padded.exe\`): Wine
maps a section that begins at a page in the file and copies every other
one into memory at every start; the padding is code, which the copy with
the default file alignment of 512 bytes keeps off a page boundary. Rows 2 and 3 come from
\`catalogue_benchmark.exe\` (the load and the bare parse in turn, Xerces kept
initialised around both, so the ratio is the object model and the table, not
the XML library's start-up). Rows 4 to 4e are
\`benchmarks/download.sh\`: row 4 fetches the same file in turn with
\`download_benchmark.exe\` (\`CDownloader\`), with
\`bare_wininet_download.exe\` (one WinInet GET, 1 MiB reads into a file, in
the same Wine) and with \`curl\`. The ratio to bare WinInet is what the
downloader costs over WinInet itself, wherever Wine runs; the ratio to curl
compares with a native client and means most where Wine runs natively.
Row 4a fetches the file again with its SHA-256 pinned in the URL (hashed on
a thread of its own, one piece behind the reads), next to
\`sha256_benchmark.exe\`, which does that hashing alone: it copies the
server's bytes into two buffers in turn, in 1 MiB pieces (the download's
largest read, what its reads take in on a fast link), hands each piece to the download's hashing thread
(\`CBackgroundHasher\`) while it fills the next, and checks the digest
against the same pin. A pinned download can go no faster than the slower of
the unpinned download and that hashing, so the ratio is at most about 1; on
two cores the server, the reads and the hashing contend for them. Row 4c
breaks the body off at 75 % (\`/resume/etag/...\` of the test server) and
retries once; the server's log counts what it wrote for the Retry. Row 4d
builds an .msi holding one file of random bytes with \`wixl\`, signs it with
the build's certificate and times \`CheckPublisher\` on it, held as the
downloader holds a finished package, next to one SHA-256 pass (CryptoAPI,
1 MiB reads) over the same file. Wine 8 does not compute an MSI's digest,
so under Wine that check reads little of the file; on Windows it hashes the
whole package once. The same random bytes appended to the unsigned
\`bootfetch.exe\` and signed make a program whose Authenticode digest Wine
does compute over the whole file: its check shows what hashing the package
once costs next to the bare SHA-256 pass. Row 4e
fetches 64 MiB from \`/drops/ranges/...\`, which ends every answer after
4 MiB, through \`download_benchmark.exe --resume-by-itself\`: the retry
schedule decides after each attempt as in the dialog, pauses included, and
every question it would ask the user counts as a user's action; the
server's log counts every byte it wrote, heads included. Row 6 is
\`status_tick_benchmark.exe\`: bootfetch's dialog, its bar moved at each
tick, with and without the status line's work (speed sampled, line worded
with the system's size formatting, set when it changed), once with each
tick's painting and once as the handler alone, whose painting Windows does
later. Row 5
strips copies of the release build with \`i686-w64-mingw32-strip\`, which
leaves out the signature, and reads the signature's size from each file's
certificate table.

## Where start-up goes

Each step that \`bootfetch.exe\` takes before its dialog is visible and the
bare dialog does not, timed once per fresh process in the program's order
(\`startup_breakdown.exe\`, median of 5 processes). In the program a thread
of its own starts the XML library, writes the temporary file, parses it and
deletes it, while the main thread registers the controls and creates the
dialog, which waits for that thread only before it translates itself. COM
waits for its first use, after the dialog shows, and the XML library shuts
down only when the program ends, and the download starts once the dialog
is shown and painted. So the catalogue steps delay the dialog
only where they outlast its creation.

| Step | Median |
|---|---|
${breakdown}

The catalogue steps add up to ${catalogue_steps} ms; as they run beside the
dialog's creation, only what outlasts it delays the dialog.

${load_section}## Machine

$machine
DOC
echo "[bench] written to docs/benchmarks.md"
