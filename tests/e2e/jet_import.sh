#!/usr/bin/env bash
# Moving from the Windows program: started beside its Jet 股票.mdb, the program asks, Yes
# imports into the data folder (keeping the file's per-share transfer fees when asked); the fee dialog shows the imported rates and the holdings
# manager the imported lots; the Jet file keeps its bytes, and the next start does not ask.
. "$(dirname "$0")/lib.sh"

start_desktop
xset r off
folder="$E2E_DIR/windows"
data="$HOME/.local/share/stockcalc/股票.mdb"
mkdir -p "$folder"
cp "$(dirname "$0")/../data/jet/jet4-realistic.mdb" "$folder/股票.mdb"
before=$(md5sum <"$folder/股票.mdb")
start_program "$folder" --no-database

# answer <what> [key]: presses Return (Yes, or OK), or the key given, in the message box and
# waits until that very box has gone (the next one may already be up under the same title).
answer() {
    wait_until 8 visible_window 提示 || fail "no message: $1"
    local box
    box=$(visible_window 提示 | head -n1)
    xdotool windowactivate --sync "$box" key "${2:-Return}"
    wait_until 5 sh -c "! xdotool search --onlyvisible --name '^提示\$' | grep -qx $box" \
        || fail "$1 stayed"
}
answer "question"
answer "transfer basis" Escape  # 否: the file's per-share fees stay
answer "summary"
wait_until 5 started || fail "no tray icon after the import"
[ "$(sqlite3 "$data" "SELECT COUNT(*), SUM(IDS), MAX(IDS) FROM GMM")" = "30|513|33" ] \
    || fail "lots: $(sqlite3 "$data" "SELECT COUNT(*), SUM(IDS), MAX(IDS) FROM GMM")"
[ "$(sqlite3 "$data" "SELECT seq FROM sqlite_sequence ORDER BY name")" = $'34\n21' ] \
    || fail "the next identities would reuse a deleted one"

choose_menu_entry 1
wait_until 3 visible_window 股票交易费率设置 || fail "股票交易费率设置 did not open"
dialog=$(visible_window 股票交易费率设置)
rates=""
for y in 26 59 92 125 158 191 224; do rates="$rates $(field_text "$dialog" 394 "$y")"; done
[ "$rates" = " 0 0.5 0.25 0.3 1.5 0.02 0.02" ] || fail "the fee dialog shows$rates"
xdotool key Escape
wait_until 3 sh -c '! xdotool search --onlyvisible --name "^股票交易费率设置$"' || fail "dialog stayed"

choose_menu_entry 5
wait_until 3 visible_window 股票管理器 || fail "股票管理器 did not open"
window=$(visible_window 股票管理器)
click_window "$window" 60 112  # the first lot in code order: 000001, 11.02 × 3000
[ -n "${SHOT:-}" ] && import -window root "$SHOT"
click_window "$window" 558 98  # 修改: the selected lot's fields take the focus
lot="$(field_text "$window" 110 53) $(field_text "$window" 288 53) $(field_text "$window" 460 53)"
[ "$lot" = "000001 11.02 3000" ] || fail "the holdings manager shows '$lot'"

[ "$(md5sum <"$folder/股票.mdb")" = "$before" ] || fail "the Jet file was changed"
kill "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null
start_program "$folder" --no-database
wait_until 8 started || fail "no second start"
sleep 1.5
visible_window 提示 >/dev/null && fail "the imported file was offered again"
echo PASS
