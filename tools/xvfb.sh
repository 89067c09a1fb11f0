# Sourced by the scripts that show windows. start_private_xvfb FIRST: without a
# display, starts Xvfb on the first free display number from FIRST on and
# exports DISPLAY; xvfb_pid holds its process (empty when none was started).
start_private_xvfb() {
  xvfb_pid=
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq "$1" $(($1 + 30))); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    return 0
  done
}
