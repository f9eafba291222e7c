#!/usr/bin/env bash
# The live figures of the holdings in the built program: "实时盈亏" in the holdings manager
# opens 持仓盈亏, which asks the local quote service for the codes held (one sold down to
# nothing left out) through the program's quote feed, and shows a gain in red.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/monitor_lib.sh"

start_desktop
start_quote_server
set_quotes 14.000 210.000
mkdir -p "$E2E_DIR/work"
"$CREATE_DATABASE" "$E2E_DIR/work/股票.mdb" || fail "cannot create the database"
sqlite3 "$E2E_DIR/work/股票.mdb" "INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('600000', 10, 1000),
    ('000001', 9, 100), ('300750', 200, 100), ('300750', 200, -100);"
start_program
wait_until 5 started || fail "no tray icon, or the about screen stayed"
choose_menu_entry 5
wait_until 3 visible_window 股票管理器 || fail "the holdings manager did not open"
click_window "$(visible_window 股票管理器)" 540 16  # 实时盈亏
wait_until 3 visible_window 持仓盈亏 || fail "持仓盈亏 did not open"
wait_until 5 test -s "$E2E_DIR/requests.log" || fail "no quote request"
[ "$(head -n1 "$E2E_DIR/requests.log")" = "/list=sz000001,sh600000 https://finance.sina.com.cn" ] \
    || fail "request: $(head -n1 "$E2E_DIR/requests.log")"
# Red in the list (the status line below it is red on a failure).
has_red() {
    import -window "$(visible_window 持仓盈亏)" -crop 764x232+6+38 +repage "$E2E_DIR/live.png" &&
        [ "$(convert "$E2E_DIR/live.png" -fill black +opaque "#FF0000" -fill white \
            -opaque "#FF0000" -format '%[fx:round(mean*w*h)]' info:)" -gt 20 ]
}
wait_until 5 has_red || fail "no gain shown in red"
echo PASS
