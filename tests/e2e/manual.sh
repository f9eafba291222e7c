#!/usr/bin/env bash
# The manual from the tray: its section buttons scroll the text to their headings.
. "$(dirname "$0")/lib.sh"

start_desktop
start_program
wait_until 15 started || fail "no tray icon, or the about screen stayed"

choose_menu_entry 9
wait_until 3 visible_window 简易手册 || fail "简易手册 did not open"
manual=$(visible_window 简易手册)

# top_line: the text pane's first line, selected with a triple click (X11's primary selection;
# a busy machine can take seconds to answer).
top_line() {
    printf '' | xclip -selection primary
    xdotool mousemove --window "$manual" 300 46 click --repeat 3 --delay 60 1
    wait_until 10 sh -c 'xclip -selection primary -o 2>/dev/null | grep -q .'
    xclip -selection primary -o 2>/dev/null | tr -d '\n'
}

# The seventh section button, 股票价格监控器: 43 pixels each plus a 2-pixel bevel, below the strip.
click_window "$manual" 80 $((32 + 6 * 45 + 21))
line=$(top_line)
[ "$line" = "(六)股票价格监控器." ] || fail "股票价格监控器 shows '$line' at the top"
click_window "$manual" 80 $((32 + 21))
line=$(top_line)
[ "$line" = "作者感言" ] || fail "作者感言 shows '$line' at the top"
echo PASS
