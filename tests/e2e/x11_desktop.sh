#!/usr/bin/env bash
# Runs the platform's X11 test on a bare X server: no window manager, so nobody gives the focus
# or tells a frame.
. "$(dirname "$0")/lib.sh"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_DIR/display" 2>/dev/null &
E2E_PIDS+=($!)
wait_until 10 test -s "$E2E_DIR/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$E2E_DIR/display")"
wait_until 10 xdpyinfo || fail "X server $DISPLAY does not answer"
"$X11_TEST" || fail "the X11 platform test failed"
