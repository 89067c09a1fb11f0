# shellcheck shell=bash
# Sourced by the scripts that show windows. start_private_xvfb FIRST: without a
# display, starts Xvfb on the first free display number from FIRST on and
# exports DISPLAY; xvfb_pid holds its process (empty when none was started).
# When no display of the range is free, or the server does not come up, it
# says so and fails, leaving DISPLAY unset.
XVFB_DISPLAYS=31
XVFB_START_POLLS=50 # of 0.1 s each
start_private_xvfb() {
  xvfb_pid=
  [ -n "${DISPLAY:-}" ] && return 0
  local first=$1 last=$(($1 + XVFB_DISPLAYS - 1)) n
  for n in $(seq "$first" "$last"); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq "$XVFB_START_POLLS"); do
      [ -e "/tmp/.X11-unix/X$n" ] && export DISPLAY=":$n" && return 0
      # A server that exits lost the display to one started meanwhile.
      kill -0 "$xvfb_pid" 2>/dev/null || continue 2
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
    echo "xvfb.sh: Xvfb :$n did not come up in $((XVFB_START_POLLS / 10)) s" >&2
    return 1
  done
  xvfb_pid=
  echo "xvfb.sh: no free X display from :$first to :$last" \
    "(each has a /tmp/.X<n>-lock, or its server lost it to another)" >&2
  return 1
}
