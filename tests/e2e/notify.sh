#!/usr/bin/env bash
# Alarm notifications on a real desktop with dunst as the notification service, on a session
# bus of the test's own. The main quote service fails, so the second one delivers. A price
# above its band sends one notification however long it stays there; a second comes only
# after the price went back inside the band and out again.
if [ -z "${NOTIFY_TEST_BUS:-}" ]; then
    exec env NOTIFY_TEST_BUS=1 dbus-run-session \
        --config-file="$(dirname "$0")/../support/session-bus.conf" -- bash "$0" "$@"
fi
bus=$DBUS_SESSION_BUS_ADDRESS
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/monitor_lib.sh"
export DBUS_SESSION_BUS_ADDRESS=$bus

start_desktop
dunst >"$E2E_DIR/dunst.log" 2>&1 &
DUNST_PID=$!
E2E_PIDS+=("$DUNST_PID")
wait_until 5 dunstctl count displayed || fail "dunst did not start"

start_quote_server
printf 'var hq_str_sh600000="FAILED";\n' >"$E2E_DIR/quotes.txt"
set_fallback_quotes 15.500
mkdir -p "$E2E_DIR/work"
"$CREATE_DATABASE" "$E2E_DIR/work/股票.mdb" || fail "cannot create the database"
sqlite3 "$E2E_DIR/work/股票.mdb" \
    "INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('600000', '浦发银行', 16, 15)"
start_program
wait_until 15 started || fail "no tray icon, or the about screen stayed"
choose_menu_entry 6
wait_until 3 visible_window 股票价格监控设置 || fail "股票价格监控设置 did not open"
dialog=$(visible_window 股票价格监控设置)
click_window "$dialog" 494 95   # 启用监控
click_window "$dialog" 544 300  # 退  出
wait_until 3 visible_window 查看监控股票价格 || fail "the monitor did not appear"
wait_until 3 test -s "$E2E_DIR/fallback.log" || fail "the second service was not asked"
grep -q '^/q=sh600000 $' "$E2E_DIR/fallback.log" || fail "request: $(head -n1 "$E2E_DIR/fallback.log")"

summary='浦发银行(600000) 16.50 ≥ 上限 16'
shown() { [ "$(dunstctl count displayed)" = "$1" ]; }
in_history() { [ "$(dunstctl history | grep -c "\"$summary\"")" = "$1" ]; }
readings() { wc -l <"$E2E_DIR/fallback.log"; }
readings_reach() { [ "$(readings)" -ge "$1" ]; }

set_fallback_quotes 16.500
wait_until 15 shown 1 || fail "no notification for the alarm"
dunstctl close-all
wait_until 3 in_history 1 || fail "the notification's summary is not '$summary'"
# Three more alarm tests with the price still above the band: nothing new.
for _ in $(seq 70); do
    shown 0 || fail "a lasting alarm was notified again"
    sleep 0.1
done

# Back inside the band for two readings, so that an alarm test sees it there; then out again.
set_fallback_quotes 15.500
before=$(readings)
wait_until 15 readings_reach $((before + 2)) || fail "the readings stopped"
set_fallback_quotes 16.500
wait_until 15 shown 1 || fail "no notification when the price reached the band again"
dunstctl close-all
wait_until 3 in_history 2 || fail "the second notification's summary is wrong"

# Without a notification service the tray icon's balloon tells of the next alarm.
kill "$DUNST_PID"
wait "$DUNST_PID" 2>/dev/null
set_fallback_quotes 15.500
before=$(readings)
wait_until 15 readings_reach $((before + 2)) || fail "the readings stopped"
xdotool mousemove 1010 740  # on the bare desktop: no tool tip can stand for the balloon
wait_until 3 no_menus || fail "a pop-up stands open before the alarm"
set_fallback_quotes 16.500
wait_until 15 visible_menus || fail "no balloon at the tray icon without a notification service"
program_running || fail "the program ended"
echo PASS
