#!/usr/bin/env bash
# The whole system at work: bootfetch.exe downloads the sample package
# "Vantrel Dulon 6" from a local web server and hands it to the Windows
# Installer, which replaces the older Vantrel Dulon 5 and runs every setupaux
# action. Unattended: the question and the product's window are answered by
# demo_probe, which also takes the screenshots. Prints a report at the end.
#
# Usage: tools/run-demo.sh [--url URL] [--lang LANG]
#   --url URL   download from URL instead of the local server (no server is
#               started then, and the real network is used)
#   --lang LANG run the localized bootstrapper bootfetch-LANG.exe, which
#               downloads the package of that language, VantrelDulon6-LANG.msi
#               (ru, fr, es, de); English without it
#
# Everything stays in build/demo/: the Wine prefix, the served folder, the
# screenshots and the logs. Run it again at will; it starts from the same
# state every time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

arguments=("$@")
url= lang=
while [ $# -gt 0 ]; do
  case "$1" in
    --url) url=${2:?--url needs an address}; shift 2 ;;
    --url=*) url=${1#--url=}; shift ;;
    --lang) lang=${2:?--lang needs a language}; shift 2 ;;
    --lang=*) lang=${1#--lang=}; shift ;;
    *) echo "usage: $0 [--url URL] [--lang LANG]" >&2; exit 2 ;;
  esac
done

say() { printf '[demo] %s\n' "$*"; }

if [ -z "${DEMO_STAGE:-}" ]; then
  bash tools/setup.sh
  bash tools/build.sh
  # Port 80 of a private network namespace is ours alone, and nothing can
  # leave the machine from there.
  if [ -z "$url" ] && [ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null; then
    exec unshare --net --mount env DEMO_STAGE=namespace TRUST_NAMESPACE=1 \
      bash "$0" "${arguments[@]}"
  fi
fi
if [ "${DEMO_STAGE:-}" = namespace ]; then
  ip link set lo up
  # The signed bootfetch opens only packages of its own publisher, the
  # build's test certificate, whose root Wine must trust.
  # shellcheck source=tools/test-root-trust.sh
  . "$root/tools/test-root-trust.sh"
  trust_test_root "$root/build"
fi

demo="$root/build/demo"
bootfetch="$root/build/bootfetch/bootfetch${lang:+-$lang}.exe"
package="VantrelDulon6${lang:+-$lang}.msi"
probe="$demo/demo_probe.exe"
shots="$demo/screenshots"
for f in "$bootfetch" "$probe" "$root/build/sample/$package"; do
  [ -f "$f" ] || { echo "missing $f (build failed?)" >&2; exit 1; }
done

# Wine sees the host's root as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# No menu entries or file associations written into the host's home.
export WINEPREFIX="$demo/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
server_pid= xvfb_pid= watch_pid=
# Long enough for the dialog to be photographed with its bar part-way.
serve_seconds=6
cleanup() {
  [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  true
}
trap cleanup EXIT

rm -rf "$shots" "$demo/www"
mkdir -p "$shots" "$demo/www"

if [ -z "$url" ]; then
  cp "$root/build/sample/$package" "$demo/www/"
  # Pinned: bootfetch launches the package only if its SHA-256 matches.
  url=$(python3 "$root/tools/package-url.py" "$demo/www/$package" http://127.0.0.1/)
  say "serving build/demo/www on http://127.0.0.1:80/, each file over $serve_seconds s"
  python3 "$root/tools/paced_http_server.py" "$demo/www" "$serve_seconds" >"$demo/http.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 50); do
    curl -sfI "${url%%#*}" >/dev/null 2>&1 && break
    kill -0 "$server_pid" 2>/dev/null || { cat "$demo/http.log" >&2; exit 1; }
    sleep 0.2
  done
fi

# Without a display: a private X server, and Wine's virtual desktop inside it
# so that the screenshots show whole windows with their captions.
desktop=
[ -z "${DISPLAY:-}" ] && desktop=--virtual-desktop
# shellcheck source=tools/xvfb.sh
. "$root/tools/xvfb.sh"
start_private_xvfb 70

say "preparing the Wine prefix build/demo/wineprefix (the first time takes a minute)"
"$root/build/wine-run" "$probe" prepare "$(winpath "$root/build/sample/VantrelDulon5.msi")" \
  $desktop | sed 's/^/  /'
wineserver -w  # the desktop setting applies to the next start

say "running $(basename "$bootfetch") $url"
"$root/build/wine-run" "$probe" watch "$(winpath "$shots")\\" 900 >"$demo/watch.log" 2>&1 &
watch_pid=$!
set +e
"$root/build/wine-run" "$bootfetch" "$url"
exit_code=$?
set -e
say "$(basename "$bootfetch") ended with $exit_code; waiting for the installer"
wait "$watch_pid" || true
watch_pid=

# PNG files for the BMP files demo_probe saved.
convert_screenshots() {
  local bmp
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
}

# Lists the screenshots with what they show. A picture of one colour is an
# empty desktop, not a window; it and a missing picture of the download from
# the local server are collected in bad_shots.
bad_shots=
list_screenshots() {
  echo "Screenshots (build/demo/screenshots/):"
  local png name colours
  for png in "$shots"/*.png; do
    [ -e "$png" ] || continue
    name=$(basename "$png")
    colours=$(identify -format '%k' "$png" 2>/dev/null || echo 0)
    if [ "${colours:-0}" -gt 1 ]; then
      printf '  %-24s shows a window (%s colours)\n' "$name" "$colours"
    else
      printf '  %-24s SHOWS NO WINDOW (one colour)\n' "$name"
      bad_shots+=" $name"
    fi
  done
  if [ -n "$server_pid" ] && ! compgen -G "$shots/*-download.png" >/dev/null; then
    echo "  no picture of the download dialog part-way"
    bad_shots+=" download"
  fi
}

report="$demo/report.txt"
case "$exit_code" in
  1) meaning="package downloaded and handed to the Windows Installer" ;;
  2) meaning="download cancelled" ;;
  3) meaning="download failed, retry declined" ;;
  4) meaning="package downloaded, but the shell could not open it" ;;
  255) meaning="dialog could not be created" ;;
  *) meaning="unexpected" ;;
esac
convert_screenshots
installed=yes
{
  echo "===================== Vantrel setup demo report ====================="
  echo "$(basename "$bootfetch") exit code: $exit_code ($meaning)"
  echo "Language: ${lang:-en}"
  echo "URL: $url"
  case "$url" in
    *"#sha256="*)
      if [ "$exit_code" -eq 1 ]; then
        echo "Pin: the downloaded package matched its SHA-256 pin (bootfetch opens nothing else)"
      else
        echo "Pin: the package was not opened"
      fi ;;
  esac
  echo "What appeared on screen (answered by demo_probe):"
  cat "$demo/watch.log"
  "$root/build/wine-run" "$probe" report || installed=no
  echo "Deliverables:"
  for f in "$bootfetch" "$root/build/setupaux/setupaux.dll"; do
    printf '  %-14s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
  done
  list_screenshots
} >"$report" 2>&1
tr -d '\r' <"$report" >"$report.tmp" && mv "$report.tmp" "$report"
cat "$report"

echo "Report saved in build/demo/report.txt"
if [ -n "$bad_shots" ]; then
  echo "demo FAILED: screenshots without a window:$bad_shots" >&2
  exit 1
fi
[ "$exit_code" -eq 1 ] && [ "$installed" = yes ]
