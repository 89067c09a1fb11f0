#!/usr/bin/env bash
# Takes the README's pictures of bootfetch under Xvfb, inside Wine's virtual
# desktop so the caption bar is drawn: the dialog mid-download and the error
# box. Needs a build (tools/build.sh) and root for the private port 80.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  exec unshare --net bash "$0" --inside
fi
ip link set lo up

export WINEPREFIX="$root/build/screenshots-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
server="$root/bootfetch/tests/http_fault_server.py"
program=$(winepath -w "$root/build/bootfetch/bootfetch.exe" 2>/dev/null || echo "Z:${root//\//\\}\\build\\bootfetch\\bootfetch.exe")

unset DISPLAY  # always the private server: the pictures need Wine's desktop
# shellcheck source=tools/xvfb.sh
. "$root/tools/xvfb.sh"
start_private_xvfb 77
python3 "$server" serve >/dev/null 2>&1 &
web=$!
trap 'kill $web $xvfb_pid 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
sleep 1
[ -f "$WINEPREFIX/.ready" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; touch "$WINEPREFIX/.ready"; }

shoot() {  # name url seconds
  wine explorer /desktop=shot,480x200 "$program" "$2" >/dev/null 2>&1 &
  local pid=$!
  sleep "$3"
  local desktop
  desktop=$(xdotool search --name '^shot' | head -n 1)
  import -window "${desktop:-root}" "$root/docs/$1.png"
  kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  sleep 1
}

shoot bootfetch-downloading "http://127.0.0.1/slow/3000000/40/package.msi" 25
shoot bootfetch-error "http://127.0.0.1/status/404/10/package.msi" 25
echo "pictures in docs/"
