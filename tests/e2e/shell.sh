#!/usr/bin/env bash
# The program on a real desktop: about screen, tray icon and menu, single instance, exit,
# and the tool-window frame as the window manager sees it.
. "$(dirname "$0")/lib.sh"

start_desktop
start_program
first=$PROGRAM_PID

# The about screen shows at once and hides itself after about a second. A press on the icon
# meanwhile opens the menu, which stays when the about screen goes and answers the keyboard.
wait_until 5 visible_window 岚石股票收益计算器 || fail "the about screen did not show"
wait_until 5 tray_icon || fail "no tray icon"
open_tray_menu || fail "a press on the icon beside the about screen opened no menu"
wait_until 4 sh -c '! xdotool search --onlyvisible --name "^岚石股票收益计算器$"' \
    || fail "the about screen did not hide"
for _ in $(seq 10); do
    visible_menus >/dev/null || fail "the menu closed with the about screen"
    sleep 0.1
done
xdotool key Escape
wait_until 3 no_menus || fail "Escape did not close the menu opened beside the about screen"
icon=$(tray_icon)

# A left and a right press on the icon each open the menu.
for button in 1 3; do
    open_tray_menu "$button" || fail "button $button on the icon opened no menu"
    xdotool key Escape
    wait_until 3 no_menus || fail "Escape did not close the menu"
done

# A double click on the icon opens the menu once and chooses no entry.
after_double_click_time
xdotool mousemove --window "$icon" 8 8 sleep 0.1 click --repeat 2 --delay 120 1
icon_pressed
wait_until 3 visible_menus || fail "a double click opened no menu"
sleep 0.5
[ "$(visible_menus | wc -l)" -eq 1 ] || fail "a double click left $(visible_menus | wc -l) menus"
visible_window 股票交易费率设置 >/dev/null && fail "a double click chose the first entry"
xdotool key Escape

# Without a tray host the about screen comes back as the launcher; when a tray returns, the
# launcher hides and the icon is in the new tray.
kill "$TRAY_PID"
wait_until 5 visible_window 岚石股票收益计算器 || fail "no launcher after the tray went away"
start_tray
wait_until 5 tray_icon || fail "the icon did not come back with a new tray"
wait_until 3 sh -c '! xdotool search --onlyvisible --name "^岚石股票收益计算器$"' \
    || fail "the launcher stayed up after a tray came back"

# A second start says so and ends; the first runs on with its one icon.
start_program
second=$PROGRAM_PID
wait_until 5 visible_window 提示 || fail "the second start showed no message"
box=$(visible_window 提示 | head -n1)
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
wait_until 5 sh -c "! kill -0 $second 2>/dev/null" || fail "the second copy did not end"
program_running "$first" || fail "the first copy ended"
icons=$(xwininfo -root -tree | grep -c '("stockcalc" "stockcalc")  22x22\|("stockcalc" "stockcalc")  2[0-9]x2[0-9]')
[ "$icons" -eq 1 ] || fail "expected one tray icon, found $icons"

# "退出", the last entry, ends the program.
open_tray_menu 3 || fail "no menu for 退出"
xdotool key Up Return
wait_until 5 sh -c "! kill -0 $first 2>/dev/null" || fail "退出 did not end the program"

# A killed copy leaves no lock behind.
start_program
killed=$PROGRAM_PID
wait_until 5 tray_icon || fail "the restarted program shows no icon"
kill -9 "$killed"
wait "$killed" 2>/dev/null
start_program
wait_until 5 tray_icon || fail "a start after a killed copy shows no icon"
sleep 1
visible_window 提示 >/dev/null && fail "a killed copy still blocks the next start"
program_running || fail "the start after a killed copy ended"
kill "$PROGRAM_PID"

# A tool window: above others, off the taskbar, dragged by its body.
"$PROBE" &
E2E_PIDS+=($!)
wait_until 5 visible_window 工具窗口样例 || fail "the tool window did not show"
tool=$(visible_window 工具窗口样例 | head -n1)
state=$(xprop -id "$tool" _NET_WM_STATE)
echo "$state" | grep -q _NET_WM_STATE_ABOVE || fail "tool window not above: $state"
echo "$state" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "tool window on the taskbar: $state"
before=$(xdotool getwindowgeometry "$tool" | awk '/Position/ { print $2 }')
xdotool mousemove --window "$tool" 200 60 sleep 0.2 mousedown 1 sleep 0.1 \
    mousemove_relative -- 30 20 sleep 0.1 mousemove_relative -- 30 20 sleep 0.2 mouseup 1
# moved_by <dx> <dy>: the tool window stands that far from where it started.
moved_by() {
    after=$(xdotool getwindowgeometry "$tool" | awk '/Position/ { print $2 }')
    bx=${before%,*}; by=${before#*,}; ax=${after%,*}; ay=${after#*,}
    [ $((ax - bx)) -eq "$1" ] && [ $((ay - by)) -eq "$2" ]
}
wait_until 3 moved_by 60 40 \
    || fail "dragging moved the tool window from $before to $after, not by 60,40"
echo "PASS (dragged $before -> $after, icons $icons)"
