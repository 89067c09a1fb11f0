#!/usr/bin/env bash
# Scripts that cannot do their job fail and say why, each run from a copy of
# tools/ on stand-ins for the tools it calls.  script_failures_test.sh TOOLS_DIR
set -u
tools=$1 failed=0
# check COMMAND MESSAGE NAME=BODY...: COMMAND exits 1, its errors hold MESSAGE.
check() {
  local command=$1 message=$2 root errors status stand_in
  shift 2
  root=$(mktemp -d) && mkdir "$root/tools" && cp "$tools"/{build,run-tests,xvfb}.sh "$root/tools/"
  for stand_in; do
    printf '#!/bin/sh\n%s\n' "${stand_in#*=}" >"$root/${stand_in%%=*}" && chmod +x "$root/${stand_in%%=*}"
  done
  errors=$(cd "$root" && env -u DISPLAY PATH="$root:$PATH" bash -c "$command" 2>&1 >/dev/null)
  status=$? && rm -rf "$root"
  [ "$status" -eq 1 ] && [[ "$errors" == *"$message"* ]] && return
  printf 'FAIL: %s: exit %d, wanted 1 and "%s":\n%s\n' "$command" "$status" "$message" "$errors"
  failed=1
}
check "bash tools/build.sh" $'ld: warning: a warning\n[build] failed on the warnings above' \
  "cmake=mkdir -p build; echo 'ld: warning: a warning'"
check "bash tools/run-tests.sh" "cannot make a private network namespace (unshare --net: no right)" \
  "id=echo 0" "unshare=echo 'no right' >&2; exit 1"
xvfb=". tools/xvfb.sh; start_private_xvfb 600" # no other X server's display
check "$xvfb" "no free X display from :600 to :630" "Xvfb=exit 1"
check "$xvfb" "Xvfb :600 did not come up" "Xvfb=exec sleep 60"
exit "$failed"
