#!/usr/bin/env bash
# Start-up in a folder without 股票.mdb: one message in the middle of the screen, then the
# program runs on with the defaults and creates no file, and its about screen still goes after
# a second however long the message stayed. Then the settings dialogs open from the tray menu,
# centred every time.
. "$(dirname "$0")/lib.sh"

start_desktop
folder="$E2E_DIR/empty"
start_program "$folder" --no-database

wait_until 8 visible_window 数据库无法读取 || fail "no read-failure message at start-up"
[ "$(visible_window 数据库无法读取 | wc -l)" -eq 1 ] || fail "more than one message"
sleep 1.5
frame_centred "$(visible_window 数据库无法读取)" || fail "the message is not centred"
xdotool windowactivate --sync "$(visible_window 数据库无法读取)" key Return
wait_until 5 sh -c '! xdotool search --onlyvisible --name "^数据库无法读取$"' \
    || fail "the message did not close"
wait_until 5 tray_icon || fail "the program did not run on after the message"
wait_until 3 visible_window 岚石股票收益计算器 || fail "no about screen after the message"
wait_until 4 sh -c '! xdotool search --onlyvisible --name "^岚石股票收益计算器$"' \
    || fail "the about screen stayed up"
sleep 1.5
visible_window 数据库无法读取 >/dev/null && fail "the message came twice"
program_running || fail "the program ended"
[ -z "$(ls -A "$folder")" ] || fail "the program created files: $(ls -A "$folder")"

# The tray entries open the two dialogs; choosing an open one again keeps a single dialog.
choose_menu_entry 1
wait_until 3 visible_window 股票交易费率设置 || fail "股票交易费率设置 did not open"
sleep 0.3
frame_centred "$(visible_window 股票交易费率设置)" || fail "the fee dialog is not centred"
choose_menu_entry 2
wait_until 3 visible_window 系统参数设置 || fail "系统参数设置 did not open"
sleep 0.3
frame_centred "$(visible_window 系统参数设置)" || fail "the parameter dialog is not centred"
choose_menu_entry 1
sleep 0.5
[ "$(visible_window 股票交易费率设置 | wc -l)" -eq 1 ] || fail "a second fee dialog opened"
# Shown again after it was closed, and moved before that: centred again.
fee=$(visible_window 股票交易费率设置)
xdotool windowmove "$fee" 10 30 windowactivate --sync "$fee" key Escape
wait_until 3 sh -c '! xdotool search --onlyvisible --name "^股票交易费率设置$"' \
    || fail "Escape did not close the fee dialog"
choose_menu_entry 1
wait_until 3 visible_window 股票交易费率设置 || fail "股票交易费率设置 did not open again"
sleep 0.3
frame_centred "$(visible_window 股票交易费率设置)" || fail "the fee dialog is not centred again"
echo PASS
