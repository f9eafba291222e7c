#!/usr/bin/env bash
# Start-up in a folder without 股票.mdb: one message in the middle of the screen, then the
# program runs on with the defaults and creates no file. Then the settings dialogs open from the
# tray menu, centred as well.
. "$(dirname "$0")/lib.sh"

start_desktop
folder="$E2E_DIR/empty"
start_program "$folder" --no-database

wait_until 8 visible_window 数据库无法读取 || fail "no read-failure message at start-up"
[ "$(visible_window 数据库无法读取 | wc -l)" -eq 1 ] || fail "more than one message"
frame_centred "$(visible_window 数据库无法读取)" || fail "the message is not centred"
xdotool windowactivate --sync "$(visible_window 数据库无法读取)" key Return
wait_until 5 sh -c '! xdotool search --onlyvisible --name "^数据库无法读取$"' \
    || fail "the message did not close"
wait_until 5 tray_icon || fail "the program did not run on after the message"
sleep 1.5
visible_window 数据库无法读取 >/dev/null && fail "the message came twice"
program_running || fail "the program ended"
[ -z "$(ls -A "$folder")" ] || fail "the program created files: $(ls -A "$folder")"

# The tray entries open the two dialogs; choosing an open one again keeps a single dialog.
choose_menu_entry 1
wait_until 3 visible_window 股票交易费率设置 || fail "股票交易费率设置 did not open"
choose_menu_entry 2
wait_until 3 visible_window 系统参数设置 || fail "系统参数设置 did not open"
sleep 0.3
frame_centred "$(visible_window 系统参数设置)" || fail "the parameter dialog is not centred"
choose_menu_entry 1
sleep 0.5
[ "$(visible_window 股票交易费率设置 | wc -l)" -eq 1 ] || fail "a second fee dialog opened"
echo PASS
