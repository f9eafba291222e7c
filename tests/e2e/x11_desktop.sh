#!/usr/bin/env bash
# Runs the platform's X11 test on a bare X server: no window manager, so nobody gives the focus
# or tells a frame.
. "$(dirname "$0")/lib.sh"

start_xvfb
"$X11_TEST" || fail "the X11 platform test failed"
