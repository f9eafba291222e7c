#!/usr/bin/env bash
# Under the tray's panel, which reserves the top 24 pixels: the compact calculator set to the top
# right corner opens below the panel, clear of the tray icon; a message the tray menu brings up
# shows above the always-on-top holdings manager.
. "$(dirname "$0")/lib.sh"

start_desktop
# The panel reserves its 24 pixels as a panel of a desktop does.
for panel in $(xdotool search --class trayer); do
    xprop -id "$panel" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT "0, 0, 24, 0"
done
wait_until 10 sh -c 'xprop -root _NET_WORKAREA | grep -q "= 0, 24, 1024, 744"' \
    || fail "the panel reserves no space: $(xprop -root _NET_WORKAREA)"
work="$E2E_DIR/work"
mkdir -p "$work"
"$CREATE_DATABASE" "$work/股票.mdb" || fail "cannot create the database"
sqlite3 "$work/股票.mdb" "UPDATE setup SET S1 = 2;"
start_program "$work"
wait_until 15 started || fail "no tray icon, or the about screen stayed"

choose_menu_entry 3
wait_until 3 visible_window 差价计算器 || fail "股票差价计算器 did not open the compact calculator"
compact=$(visible_window 差价计算器)
read -r x y < <(xwininfo -id "$compact" | awk '/Absolute upper-left [XY]/ { printf "%s ", $4 }')
[ "$x" = 318 ] && [ "$y" = 25 ] || fail "the top right calculator is at $x,$y, not 318,25"

choose_menu_entry 5
wait_until 3 visible_window 股票管理器 || fail "股票管理器 did not open the holdings manager"
holdings=$(visible_window 股票管理器)
choose_menu_entry 7  # monitoring is off
wait_until 3 visible_window 提示 || fail "no message for monitoring that is off"
box=$(visible_window 提示)
xprop -id "$box" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the message is not kept above"
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
position() { local i=0 id; for id in $stacking; do [ $((id)) = $(($1)) ] && echo $i; i=$((i + 1)); done; }
[ "$(position "$box")" -gt "$(position "$holdings")" ] \
    || fail "the message lies under the holdings manager: $stacking"
echo PASS
