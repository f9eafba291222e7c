#!/usr/bin/env bash
# Takes the README's pictures on a virtual desktop (needs a build):
#   scripts/screenshot.sh [calculators|holdings|about|manual] [output.png]
# The picture goes to docs/<picture>.png unless told otherwise; BUILD names another build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
picture=${1:-calculators}
output=$(realpath -m "${2:-$root/docs/$picture.png}")
build=$(realpath -m "${BUILD:-$root/build}")
STOCKCALC="$build/stockcalc"
CREATE_DATABASE="$build/tools/create_database"
. "$root/tests/e2e/lib.sh"

start_desktop
work="$E2E_DIR/work"
mkdir -p "$work"
"$CREATE_DATABASE" "$work/股票.mdb"
sqlite3 "$work/股票.mdb" "INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('600000', 10, 1000),
    ('000001', 8.5, 300), ('600000', 12, 500), ('300750', 188.8, 200), ('000858', 141.2, 100);"
start_program "$work"
wait_until 15 tray_icon || fail "no tray icon"
sleep 1.2

# window_picture <id>: the window as it shows on the desktop.
window_picture() {
    sleep 0.5
    mkdir -p "$(dirname "$output")"
    import -window "$1" "$output"
    echo "wrote $output"
    exit 0
}

if [ "$picture" = about ]; then
    choose_menu_entry 8
    wait_until 3 visible_window 岚石股票收益计算器 || fail "no about screen"
    xdotool mousemove 10 700
    window_picture "$(visible_window 岚石股票收益计算器)"
fi

if [ "$picture" = manual ]; then
    choose_menu_entry 9
    wait_until 3 visible_window 简易手册 || fail "no manual"
    window=$(visible_window 简易手册)
    # 股票交易费率设置, the second section button, pressed and left red under the pointer.
    xdotool mousemove --window "$window" 80 90 sleep 0.2 click 1
    window_picture "$window"
fi

if [ "$picture" = holdings ]; then
    choose_menu_entry 5
    wait_until 3 visible_window 股票管理器 || fail "no holdings manager"
    window=$(visible_window 股票管理器)
    xdotool windowmove "$window" 10 10
    sleep 0.3
    # Rows: 000001, 000858, 300750, 600000, 600000; a double click checks both 600000 lots.
    xdotool mousemove --window "$window" 60 178 click --repeat 2 --delay 80 1
    xdotool mousemove --window "$window" 64 330 click 1 mousemove 700 600  # 合并成本价
    sleep 0.5
    mkdir -p "$(dirname "$output")"
    import -window root -crop 636x440+0+0 +repage "$output"
    echo "wrote $output"
    exit 0
fi

# The full window: calculated in the compact one, then switched.
choose_menu_entry 3
wait_until 3 visible_window 差价计算器 || fail "no compact calculator"
compact=$(visible_window 差价计算器)
type_into "$compact" 130 17 8.88
type_into "$compact" 240 17 9.99
type_into "$compact" 360 17 300
xdotool mousemove --window "$compact" 500 17 click 1 sleep 0.3 key Down Return
xdotool mousemove --window "$compact" 565 17 click 1
xdotool mousemove --window "$compact" 44 17 click 1
wait_until 3 visible_window 股票差价计算器 || fail "no full calculator"
xdotool windowmove "$(visible_window 股票差价计算器)" 20 20

# And a compact one beside it.
choose_menu_entry 3
wait_until 3 visible_window 差价计算器 || fail "no second compact calculator"
compact=$(visible_window 差价计算器)
xdotool windowmove "$compact" 20 310
type_into "$compact" 130 17 10
type_into "$compact" 240 17 11
type_into "$compact" 360 17 1000
xdotool mousemove --window "$compact" 565 17 click 1 mousemove 700 600
sleep 0.5
mkdir -p "$(dirname "$output")"
import -window root -crop 744x370+0+0 +repage "$output"
echo "wrote $output"
