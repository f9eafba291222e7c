#!/usr/bin/env bash
# Start-up beside a 股票.mdb that is no database: one message in the middle of the screen, then
# the program runs on with the defaults and leaves the file as it was. Then the settings dialogs
# open from the tray menu, centred as well.
. "$(dirname "$0")/lib.sh"

start_desktop
folder="$E2E_DIR/foreign"
mkdir -p "$folder"
printf 'Standard Jet DB\0\0\0' >"$folder/股票.mdb"
before=$(md5sum <"$folder/股票.mdb")
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
[ "$(ls -A "$folder")" = 股票.mdb ] || fail "the program created files: $(ls -A "$folder")"
[ "$(md5sum <"$folder/股票.mdb")" = "$before" ] || fail "the foreign file was changed"
[ ! -e "$HOME/.local/share/stockcalc" ] || fail "a file beside the user was passed over"

# The tray entries open the two dialogs; choosing an open one again keeps a single dialog.
wait_until 15 started || fail "the about screen did not show after the message, or stayed"
choose_menu_entry 1
wait_until 3 visible_window 股票交易费率设置 || fail "股票交易费率设置 did not open"
choose_menu_entry 2
wait_until 3 visible_window 系统参数设置 || fail "系统参数设置 did not open"
wait_until 3 frame_centred "$(visible_window 系统参数设置)" || fail "the parameter dialog is not centred"
choose_menu_entry 1
sleep 0.5
[ "$(visible_window 股票交易费率设置 | wc -l)" -eq 1 ] || fail "a second fee dialog opened"
# A minimised dialog comes back when it is chosen again.
xdotool windowminimize --sync "$(visible_window 股票交易费率设置)"
choose_menu_entry 1
wait_until 3 visible_window 股票交易费率设置 || fail "the minimised fee dialog did not come back"

# stacked_above <upper> <lower>: the first window lies above the second in the stacking order.
stacked_above() {
    local i=0 upper=-1 lower=-1 id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
        [ $((id)) -eq "$1" ] && upper=$i
        [ $((id)) -eq "$2" ] && lower=$i
        i=$((i + 1))
    done
    [ "$lower" -ge 0 ] && [ "$upper" -gt "$lower" ]
}

# A dialog chosen from the tray comes up in front of the always-on-top holdings manager.
for title in 股票交易费率设置 系统参数设置; do
    xdotool windowactivate --sync "$(visible_window "$title")" key Escape
    wait_until 3 sh -c "! xdotool search --onlyvisible --name '^$title\$'" \
        || fail "$title did not close"
done
choose_menu_entry 5
wait_until 5 visible_window 股票管理器 || fail "股票管理器 did not open"
for entry in 1:股票交易费率设置 2:系统参数设置 6:股票价格监控设置; do
    title=${entry#*:}
    choose_menu_entry "${entry%%:*}"
    wait_until 3 visible_window "$title" || fail "$title did not open"
    wait_until 3 stacked_above "$(visible_window "$title")" "$(visible_window 股票管理器)" \
        || fail "$title opened behind the holdings manager"
    xdotool windowactivate --sync "$(visible_window "$title")" key Escape
    wait_until 3 sh -c "! xdotool search --onlyvisible --name '^$title\$'" \
        || fail "$title did not close"
done
echo PASS
