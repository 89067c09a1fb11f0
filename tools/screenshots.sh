#!/usr/bin/env bash
# Takes the README's pictures of bootfetch under Xvfb, inside Wine's virtual
# desktop so the caption bar is drawn: the dialog mid-download and the error
# box, of bootfetch.exe and of the Russian bootfetch-ru.exe, at 100 % and at
# 150 % (Wine's LogPixels 144; NAME-150-*.png). Needs a build
# (tools/build.sh) and root for the private port 80.
# With --all-languages it takes the same pictures of every localized program
# into build/screenshots/ instead, to check that no text is clipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  exec unshare --net bash "$0" --inside "$@"
fi
shift
ip link set lo up

export WINEPREFIX="$root/build/screenshots-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
server="$root/bootfetch/tests/http_fault_server.py"
# Scales as percentage:LogPixels, and Wine's desktop at 100 %, which holds
# the dialog and the error box.
readonly SCALES="100:96 150:144"
readonly DESKTOP_WIDTH=480 DESKTOP_HEIGHT=200

unset DISPLAY  # always the private server: the pictures need Wine's desktop
# shellcheck source=tools/xvfb.sh
. "$root/tools/xvfb.sh"
start_private_xvfb 77
python3 "$server" serve >/dev/null 2>&1 &
web=$!
trap 'kill $web $xvfb_pid 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
sleep 1
[ -f "$WINEPREFIX/.ready" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; touch "$WINEPREFIX/.ready"; }

shoot() {  # picture program url seconds percent
  local size="$((DESKTOP_WIDTH * $5 / 100))x$((DESKTOP_HEIGHT * $5 / 100))"
  wine explorer /desktop=shot,"$size" "Z:${root//\//\\}\\build\\bootfetch\\$2" "$3" >/dev/null 2>&1 &
  local pid=$!
  sleep "$4"
  local desktop
  desktop=$(xdotool search --name '^shot' | head -n 1)
  import -window "${desktop:-root}" "$1"
  kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  sleep 1
}

pictures() {  # folder program picture-prefix
  local scale percent name
  for scale in $SCALES; do
    percent=${scale%%:*}
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${scale##*:}" /f \
      >/dev/null 2>&1
    name=$3
    [ "$percent" = 100 ] || name="$3-$percent"
    shoot "$1/$name-downloading.png" "$2" "http://127.0.0.1/slow/3000000/40/package.msi" 25 "$percent"
    shoot "$1/$name-error.png" "$2" "http://127.0.0.1/status/404/10/package.msi" 25 "$percent"
  done
}

if [ "${1:-}" = --all-languages ]; then
  mkdir -p "$root/build/screenshots"
  for program in "$root"/build/bootfetch/bootfetch-*.exe; do
    name=$(basename "$program" .exe)
    pictures "$root/build/screenshots" "$name.exe" "$name"
  done
  echo "pictures in build/screenshots/"
else
  pictures "$root/docs" bootfetch.exe bootfetch
  pictures "$root/docs" bootfetch-ru.exe bootfetch-ru
  echo "pictures in docs/"
fi
