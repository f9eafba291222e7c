#!/usr/bin/env bash
# The compact calculator from the tray menu on a real desktop: type 10, 11 and 1000, press
# "收益", read the net profit; switch to the full window and read the fees there.
. "$(dirname "$0")/lib.sh"

start_desktop
start_program
wait_until 15 started || fail "no tray icon, or the about screen stayed"

choose_menu_entry 3
wait_until 3 visible_window 差价计算器 || fail "股票差价计算器 did not open the compact calculator"
compact=$(visible_window 差价计算器)
state=$(xprop -id "$compact" _NET_WM_STATE)
echo "$state" | grep -q _NET_WM_STATE_ABOVE || fail "calculator not above: $state"
echo "$state" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "calculator on the taskbar: $state"

type_into "$compact" 130 17 10
type_into "$compact" 240 17 11
type_into "$compact" 360 17 1000
xdotool mousemove --window "$compact" 565 17 click 1
wait_until 3 field_is "$compact" 650 17 926 \
    || fail "net profit shows '$(field_text "$compact" 650 17)', not 926"

# Switch: the full window shows the six fees and the profit; the compact one is gone.
xdotool mousemove --window "$compact" 44 17 click 1
wait_until 3 visible_window 股票差价计算器 || fail "the full window did not open"
wait_until 3 sh -c '! xdotool search --onlyvisible --name "^差价计算器$"' \
    || fail "the compact window stayed"
full=$(visible_window 股票差价计算器)
fees=""
for y in 72 98 124 150 176 202; do
    fees="$fees $(field_text "$full" 398 "$y")"
done
[ "$fees" = " 0 11 30 33 0 74" ] || fail "the full window shows fees '$fees'"
[ "$(field_text "$full" 262 245)" = 926 ] || fail "the full window lost the net profit"
# Calculating again there gives the same result: the exchange came across too.
xdotool mousemove --window "$full" 386 245 click 1
wait_until 3 field_is "$full" 262 245 926 || fail "the full window computes with another exchange"
echo PASS
