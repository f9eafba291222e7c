#!/usr/bin/env bash
# Declining the import: started beside a Windows program's Jet 股票.mdb, the program asks and
# 否 imports nothing. It works from the data folder, its database made there, as when started
# from the desktop menu: no message about the database, a lot added in the holdings manager
# is stored there. The Jet file keeps its bytes, and the next start asks again.
. "$(dirname "$0")/lib.sh"

start_desktop
xset r off
folder="$E2E_DIR/windows"
data="$HOME/.local/share/stockcalc/股票.mdb"
mkdir -p "$folder"
cp "$(dirname "$0")/../data/jet/jet4-realistic.mdb" "$folder/股票.mdb"
before=$(md5sum <"$folder/股票.mdb")
start_program "$folder" --no-database

wait_until 8 visible_window 提示 || fail "no question"
box=$(visible_window 提示 | head -n1)
xdotool windowactivate --sync "$box" key Escape  # 否
wait_until 10 started || fail "no tray icon after declining"
sleep 1
for title in 数据库无法读取 错误 提示; do
    visible_window "$title" >/dev/null && fail "a message '$title' came after declining"
done
[ -f "$data" ] || fail "no database in the data folder"

choose_menu_entry 5
wait_until 3 visible_window 股票管理器 || fail "股票管理器 did not open"
window=$(visible_window 股票管理器)
click_window "$window" 558 59  # 新增
type_into "$window" 110 57 600036
type_into "$window" 288 57 42.5
type_into "$window" 460 57 1000
[ -n "${SHOT:-}" ] && import -window root "$SHOT"
click_window "$window" 558 145  # 保存
stored() { sqlite3 "$data" "SELECT MID, MONEY, NUMS FROM GMM"; }
wait_until 5 sh -c "[ \"\$(sqlite3 '$data' 'SELECT MID, MONEY, NUMS FROM GMM')\" = '600036|42.5|1000' ]" \
    || fail "the data folder holds '$(stored)' after saving the lot"
[ "$(md5sum <"$folder/股票.mdb")" = "$before" ] || fail "the Jet file was changed"

kill "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null
start_program "$folder" --no-database
wait_until 8 visible_window 提示 || fail "the file was not offered again"
echo PASS
