#!/usr/bin/env bash
# The holdings manager on a real desktop: two lots of one stock and one of another in the
# database; open "股票管理器" from the tray, double-click a lot of 600000 (which checks both),
# merge, and read the table back with sqlite3: the merged lot keeps the exact cost.
. "$(dirname "$0")/lib.sh"

start_desktop
work="$E2E_DIR/work"
mkdir -p "$work"
"$CREATE_DATABASE" "$work/股票.mdb" || fail "cannot create the database"
sqlite3 "$work/股票.mdb" "INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('600000', 10, 1000),
    ('000001', 8.5, 300), ('600000', 12, 500);"
start_program "$work"
wait_until 15 started || fail "no tray icon, or the about screen stayed"

choose_menu_entry 5
wait_until 3 visible_window 股票管理器 || fail "股票管理器 did not open the holdings manager"
window=$(visible_window 股票管理器)
state=$(xprop -id "$window" _NET_WM_STATE)
echo "$state" | grep -q _NET_WM_STATE_ABOVE || fail "manager not above: $state"
echo "$state" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "manager on the taskbar: $state"

# Rows in code order: 000001, 600000, 600000. A double click on the second checks both lots.
xdotool mousemove --window "$window" 60 134 click --repeat 2 --delay 80 1
sleep 0.3
[ -n "${SHOT:-}" ] && import -window root "$SHOT"
xdotool mousemove --window "$window" 556 272 click 1  # 合并
stored() { sqlite3 "$work/股票.mdb" "SELECT MID, MONEY, NUMS FROM GMM ORDER BY IDS"; }
merged() { [ "$(stored)" = $'600000|10.6666666666667|1500\n000001|8.5|300' ]; }
# On a busy machine the merge may take a moment to reach the file.
wait_until 5 merged || fail "the table holds '$(stored)' after the merge"
echo PASS
