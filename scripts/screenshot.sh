#!/usr/bin/env bash
# Takes the README's picture of the two difference calculators on a virtual desktop:
#   scripts/screenshot.sh [output.png]      (default: docs/calculators.png; needs a build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${1:-$root/docs/calculators.png}")
STOCKCALC="$root/build/stockcalc"
CREATE_DATABASE="$root/build/tools/create_database"
. "$root/tests/e2e/lib.sh"

start_desktop
start_program
wait_until 5 tray_icon || fail "no tray icon"
sleep 1.2

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
