#!/usr/bin/env bash
# Takes the README's pictures of the price monitor on a virtual desktop, against a local
# quote service: the monitor window with one alarming row, the overlay on the desktop, the
# live figures of the holdings, and the intraday chart of a code held and watched.
#   scripts/screenshot-monitor.sh [folder]      (default: docs/; needs a build in $BUILD,
#                                                default build/)
set -eu  # no pipefail: the helpers stop reading pipes early on purpose
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${1:-$root/docs}")
build=$(realpath -m "${BUILD:-$root/build}")
STOCKCALC="$build/stockcalc"
CREATE_DATABASE="$build/tools/create_database"
QUOTE_SERVER="$build/tests/quote_server"
. "$root/tests/e2e/lib.sh"
. "$root/tests/e2e/monitor_lib.sh"

start_desktop
start_quote_server
set_quotes 14.000 210.000
# The minute service: the morning so far of 600000, served from a file by a local web server
# (it answers any query of the path with the file).
mkdir -p "$E2E_DIR/minutes/appstock/app/minute"
python3 - "$E2E_DIR/minutes/appstock/app/minute/query" <<'PY'
import json, math, sys
rows, volume, amount = [], 0, 0.0
for i in range(30):
    price = round(15.55 + 0.03 * i + 0.12 * math.sin(i / 3), 2)
    lots = 800 + (i * 337) % 1500
    volume += lots
    amount += price * lots * 100
    rows.append("09%02d %.2f %d %.2f" % (30 + i, price, volume, amount))
qt = ["1", "浦发银行", "600000", "16.500", "15.50"]
reply = {"code": 0, "data": {"sh600000": {"data": {"data": rows, "date": "20261207"},
                                          "qt": {"sh600000": qt}}}}
open(sys.argv[1], "w").write(json.dumps(reply, ensure_ascii=False))
PY
minute_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
(cd "$E2E_DIR/minutes" && exec python3 -m http.server --bind 127.0.0.1 "$minute_port") \
    >/dev/null 2>&1 &
E2E_PIDS+=($!)
export STOCKCALC_MINUTE_URL="http://127.0.0.1:$minute_port"
mkdir -p "$E2E_DIR/work"
"$CREATE_DATABASE" "$E2E_DIR/work/股票.mdb"
# Yellow overlay text at 60 points, and three watched stocks (the dialog's own entry is tested
# by tests/e2e/monitor.sh; xdotool cannot type Chinese names).
sqlite3 "$E2E_DIR/work/股票.mdb" "UPDATE setup SET FZ = 60, FC = 11;
    INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('600000', '浦发银行', 16, 15),
        ('300750', '宁德时代', 250, 200), ('000001', '平安银行', 12, 10);
    INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('600000', 15.2, 1000), ('600000', 14.1, 500),
        ('300750', 221.5, 200), ('000001', 10.35, 3000), ('002594', 250, 100);"
start_program
wait_until 5 tray_icon || fail "no tray icon"
sleep 1.2

choose_menu_entry 6
wait_until 3 visible_window 股票价格监控设置 || fail "no watch-list dialog"
dialog=$(visible_window 股票价格监控设置)
[ -n "${SHOT_DIALOG:-}" ] && import -window root "$SHOT_DIALOG"
click_window "$dialog" 494 95   # 启用监控
click_window "$dialog" 544 300  # 退  出
wait_until 3 visible_window 查看监控股票价格 || fail "no monitor"
monitor=$(visible_window 查看监控股票价格)
set_quotes 16.500 210.000
wait_until 12 has_pixels "$monitor" "#FF0000" || fail "no alarm"
xdotool mousemove 10 10
sleep 0.5
mkdir -p "$output"
import -window root -crop 368x292+666+454 +repage "$output/monitor.png"

# The overlay over a calculator: only the text strokes cover it.
choose_menu_entry 3
wait_until 3 visible_window 差价计算器 || fail "no compact calculator"
xdotool windowmove "$(visible_window 差价计算器)" 180 190
sleep 0.5
click_window "$monitor" 306 15  # 正常窗口
sleep 6  # the next reading paints the overlay
xdotool mousemove 10 500
sleep 0.5
import -window root -crop 1024x360+0+100 +repage "$output/overlay.png"

# The live figures of the holdings, opened from the holdings manager's "实时盈亏".
choose_menu_entry 5
wait_until 3 visible_window 股票管理器 || fail "no holdings manager"
click_window "$(visible_window 股票管理器)" 540 16
wait_until 3 visible_window 持仓盈亏 || fail "no live holdings"
sleep 6  # a reading
import -window "$(visible_window 持仓盈亏)" "$output/live-holdings.png"

# The chart of 600000, the fourth row of the live figures: selected, then Enter.
click_window "$(visible_window 持仓盈亏)" 100 73
xdotool key Down Down Down Return
wait_until 5 visible_window "浦发银行\\(600000\\) 分时" || fail "no intraday chart"
chart=$(visible_window "浦发银行\\(600000\\) 分时")
sleep 2
eval "$(xdotool getwindowgeometry --shell "$chart")"
xdotool mousemove $((X + 88)) $((Y + 200))  # over 09:45
sleep 0.5
import -window "$chart" "$output/chart.png"
echo "wrote $output/monitor.png, $output/overlay.png, $output/live-holdings.png and $output/chart.png"
