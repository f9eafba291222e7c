#!/usr/bin/env bash
# The program in a Wayland session: weston on its headless backend with XWayland. With both
# displays the program's windows are X windows on XWayland and a tool window asks to stay above
# and off the taskbar; with Wayland alone the program runs and its about screen says what needs
# X11. The headless weston has no seat (and XWayland dies of a faked pointer without one), so
# nothing here clicks: the tool window is the probe's, built on the same frame and started with
# the same choice of window system as the program.
. "$(dirname "$0")/lib.sh"
unset QT_QPA_PLATFORM DISPLAY  # the program chooses for itself
export XDG_SESSION_TYPE=wayland  # as in a Wayland session, where Qt alone picks Wayland

# weston's X window manager keeps only the states it handles (fullscreen, maximized) and
# rewrites _NET_WM_STATE when it maps a window, so what a window asked for is read from the
# manager's own log of the property before the mapping.
weston --backend=headless-backend.so --use-pixman --xwayland --debug --no-config --idle-time=0 \
    --width=1024 --height=768 --socket=stockcalc-e2e --logger-scopes=log,xwm-wm-x11 \
    --log="$E2E_DIR/weston.log" >"$E2E_DIR/weston.out" 2>&1 &
E2E_PIDS+=($!)
wait_until 15 grep -q 'xserver listening on display' "$E2E_DIR/weston.log" \
    || fail "weston did not start: $(tail -n3 "$E2E_DIR/weston.out")"
export WAYLAND_DISPLAY=stockcalc-e2e
xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_DIR/weston.log")

# x_window <title> <class>: the id of the mapped X window of that title and class.
x_window() {
    local id
    id=$(xwininfo -root -tree | awk -v t="\"$1\": (\"$2\" \"$2\")" 'index($0, t) { print $1 }')
    [ -n "$id" ] && xwininfo -id "$id" | grep -q 'IsViewable' && echo "$id"
}

# note_cover <screenshot>: the share of black in a band under the about screen's version line,
# where the note line stands. The about screen is the one thing with pure black on weston's
# desktop (below its panel): the version line starts at its top-left corner.
note_cover() {
    local box x y
    box=$(convert "$1" -crop 1024x736+0+32 +repage -fill white +opaque '#000000' -format '%@' info:)
    x=${box#*+}; x=${x%+*}; y=$((${box##*+} + 32))
    convert "$1" -crop "400x12+$x+$((y + 20))" +repage -fill white +opaque '#000000' \
        -format '%[fx:round(100 * (1 - mean))]' info:
}

screenshot() {
    local dir="$E2E_DIR/shot-$1"
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && weston-screenshooter) >/dev/null 2>&1 || return 1
    ls "$dir"/*.png
}

note_shown() { [ "$(note_cover "$(screenshot wayland)")" -gt 40 ]; }

# asked_states <window>: the window's own _NET_WM_STATE holding both states, as weston logged
# it, one property change a line.
asked_states() {
    awk -v w="window $(printf '%d' "$1"), _NET_WM_STATE:" '
        inside && /^[[:space:]]/ { sub(/^[[:space:]]+/, ", "); record = record $0; next }
        inside { print record; inside = 0 }
        index($0, w) { record = $0; inside = 1 }
        END { if (inside) print record }' "$E2E_DIR/weston.log" \
        | grep -w _NET_WM_STATE_ABOVE | grep -w _NET_WM_STATE_SKIP_TASKBAR
}

# With XWayland: X windows, without the note.
export DISPLAY=$xwayland
wait_until 15 xdpyinfo || fail "XWayland on $DISPLAY does not answer"
no_key_repeat
start_program
wait_until 10 x_window 岚石股票收益计算器 stockcalc || fail "the about screen is no X window"
sleep 2  # no tray here: the about screen stays as the launcher
cover=$(note_cover "$(screenshot xwayland)")
[ "$cover" -lt 10 ] 2>/dev/null || fail "the note shows on XWayland (black: '$cover'%)"

"$PROBE" >"$E2E_DIR/probe.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 x_window 工具窗口样例 tool_window_probe || fail "the tool window is no X window"
tool=$(x_window 工具窗口样例 tool_window_probe)
wait_until 5 asked_states "$tool" \
    || fail "the tool window did not ask for above and off the taskbar: $(grep "_NET_WM_STATE" "$E2E_DIR/weston.log")"
asked=$(asked_states "$tool" | tail -n1)
kept=$(xprop -id "$tool" _NET_WM_STATE)
for state in _NET_WM_STATE_ABOVE _NET_WM_STATE_SKIP_TASKBAR; do
    # A manager that supports the state must keep it; weston's supports neither.
    xprop -root _NET_SUPPORTED | grep -qw "$state" || continue
    grep -qw "$state" <<<"$kept" || fail "the window manager dropped $state: $kept"
done
kill "$PROGRAM_PID" "${E2E_PIDS[-1]}"
wait "$PROGRAM_PID" "${E2E_PIDS[-1]}" 2>/dev/null

# Wayland alone: the program runs and its about screen carries the note.
unset DISPLAY
start_program
sleep 2
program_running || fail "the program ended without XWayland: $(cat "$E2E_DIR/program.log")"
wait_until 10 note_shown || fail "no note on the about screen without XWayland"
"$PROBE" >"$E2E_DIR/probe.log" 2>&1 &
E2E_PIDS+=($!)
sleep 2
program_running "${E2E_PIDS[-1]}" || fail "a tool window ended on Wayland: $(cat "$E2E_DIR/probe.log")"
program_running || fail "the program ended on Wayland: $(cat "$E2E_DIR/program.log")"
echo "PASS (asked: ${asked##*: }; after mapping xprop reads: $kept)"
