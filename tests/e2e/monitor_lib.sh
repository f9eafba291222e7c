# Helpers for the price monitor's end-to-end runs, sourced after lib.sh; QUOTE_SERVER must name
# the built local quote service.

# The program reads prices only while the exchanges trade: it runs with its clock in a
# session, Monday 2026-12-07 10:00 in Beijing, and on a desktop in New York's time zone
# (21:00 the evening before), whatever the real time and zone.
printf '#!/bin/sh\nTZ=America/New_York FAKETIME_DONT_FAKE_MONOTONIC=1 exec faketime -f "@2026-12-06 21:00:00" "%s" "$@"\n' \
    "$STOCKCALC" >"$E2E_DIR/stockcalc-in-session"
chmod +x "$E2E_DIR/stockcalc-in-session"
STOCKCALC="$E2E_DIR/stockcalc-in-session"

# start_quote_server: two local services. The main one answers with the text of
# $E2E_DIR/quotes.txt, the second one with that of $E2E_DIR/fallback.txt (nothing until
# set_fallback_quotes: a failed reading). Requests go to requests.log and fallback.log.
start_quote_server() {
    local name
    for name in port fallback-port; do
        local log=requests.log reply=quotes.txt
        [ "$name" = fallback-port ] && log=fallback.log reply=fallback.txt
        "$QUOTE_SERVER" "$E2E_DIR/$name" "$E2E_DIR/$reply" "$E2E_DIR/$log" &
        E2E_PIDS+=($!)
        wait_until 5 test -s "$E2E_DIR/$name" || fail "the quote server did not start"
    done
    export STOCKCALC_QUOTE_URL="http://127.0.0.1:$(cat "$E2E_DIR/port")"
    export STOCKCALC_QUOTE_FALLBACK_URL="http://127.0.0.1:$(cat "$E2E_DIR/fallback-port")"
}

# set_fallback_quotes <price of 600000>: the second service's reply.
set_fallback_quotes() {
    printf 'v_sh600000="1~浦发银行~600000~%s~15.00~15.10~1234567~600000~634567~%s~100~~~~~~~~~~~~~~~~~~~~20261207100003~0.50~3.33";\n' \
        "$1" "$1" >"$E2E_DIR/fallback.txt.new"
    mv "$E2E_DIR/fallback.txt.new" "$E2E_DIR/fallback.txt"
}

# set_quotes <price of 600000> <price of 300750>; 000001 stays at 11.000.
set_quotes() {
    printf 'var hq_str_sh600000="浦发银行,14.000,14.100,%s,15.000,13.900,0,0,1000,10000.000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2026-12-07,10:00:03,00";
var hq_str_sz300750="宁德时代,200.000,201.000,%s,212.000,199.000,0,0,1000,10000.000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2026-12-07,10:00:03,00";
var hq_str_sz000001="平安银行,11.000,11.050,11.000,11.100,10.900,0,0,1000,10000.000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2026-12-07,10:00:03,00";\n' \
        "$1" "$2" >"$E2E_DIR/quotes.txt.new"
    mv "$E2E_DIR/quotes.txt.new" "$E2E_DIR/quotes.txt"
}

# pixels <monitor> <colour>: how many pixels of exactly this colour the monitor's list shows
# (its status line below is left out).
pixels() {
    import -window "$1" -crop 346x220+1+31 +repage "$E2E_DIR/window.png" 2>/dev/null \
        || { echo 0; return; }
    convert "$E2E_DIR/window.png" -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}

has_pixels() { [ "$(pixels "$1" "$2")" -gt 20 ]; }

# add_stock <dialog> <code> <name> <upper> <lower>
add_stock() {
    click_window "$1" 539 125  # 新增
    type_into "$1" 153 24 "$2"
    type_into "$1" 474 24 "$3"
    type_into "$1" 153 56 "$4"
    type_into "$1" 429 56 "$5"
    click_window "$1" 539 181  # 保存
    sleep 0.3
}
