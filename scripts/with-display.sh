# Sourced: starts Xvfb on a free display when no display is set, and stops it (by its id) on exit.
OV_XVFB_PID=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    OV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi
ov_stop_display() {
  if [ -n "$OV_XVFB_PID" ]; then kill "$OV_XVFB_PID" 2>/dev/null; wait "$OV_XVFB_PID" 2>/dev/null; fi
  return 0
}
