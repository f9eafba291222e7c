#!/usr/bin/env bash
# The price monitor on a real desktop against a local quote service: from the tray, add two
# stocks to the watch list, tick "启用监控" and close; the monitor appears at the bottom
# right, asks for both codes in one request, shows the prices (a row below its band turns
# green), then a price above the band turns its row red; "关闭窗口" hides the window and the
# next alarm brings it back.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/monitor_lib.sh"

start_desktop
start_quote_server
set_quotes 14.000 210.000
start_program
wait_until 15 started || fail "no tray icon, or the about screen stayed"

choose_menu_entry 6
wait_until 3 visible_window 股票价格监控设置 || fail "股票价格监控设置 did not open"
dialog=$(visible_window 股票价格监控设置)
wait_until 3 frame_centred "$dialog" || fail "the watch list is not centred on its first showing"
add_stock "$dialog" 600000 PFYH 16 15
add_stock "$dialog" 300750 NDSD 250 200
[ "$(sqlite3 "$E2E_DIR/work/股票.mdb" 'SELECT KNUM, KUP, KDOWN FROM KSEE ORDER BY KNUM')" = \
    "$(printf '300750|250.0|200.0\n600000|16.0|15.0')" ] || fail "the watch list was not stored"
click_window "$dialog" 494 95  # 启用监控
click_window "$dialog" 544 300  # 退  出

wait_until 3 visible_window 查看监控股票价格 || fail "the monitor did not appear"
monitor=$(visible_window 查看监控股票价格)
geometry=$(xdotool getwindowgeometry "$monitor" | tr -d ' ' | paste -sd ' ')
echo "$geometry" | grep -q 'Position:676,464' || fail "monitor not at the bottom right: $geometry"
echo "$geometry" | grep -q 'Geometry:348x272' || fail "monitor of the wrong size: $geometry"

# One request for both codes, in code order, with the referrer the service requires.
wait_until 3 test -s "$E2E_DIR/requests.log" || fail "no quote request"
[ "$(head -n1 "$E2E_DIR/requests.log")" = "/list=sz300750,sh600000 https://finance.sina.com.cn" ] \
    || fail "request: $(head -n1 "$E2E_DIR/requests.log")"
# The alarm test starts after the first reading tick (5 s): 14.000 is below 15, green.
wait_until 15 has_pixels "$monitor" "#008000" || fail "the prices did not arrive (no green row)"
has_pixels "$monitor" "#FF0000" && fail "a row is red before any price reached its upper edge"

set_quotes 16.500 210.000
wait_until 15 has_pixels "$monitor" "#FF0000" || fail "the row above its band did not turn red"

click_window "$monitor" 331 15  # 关闭窗口
wait_until 2 sh -c '! xdotool search --onlyvisible --name "^查看监控股票价格$"' \
    || fail "关闭窗口 did not hide the monitor"
wait_until 4 visible_window 查看监控股票价格 || fail "the next alarm did not bring the monitor back"
program_running || fail "the program ended"
echo PASS
