#!/usr/bin/env bash
# Start-up of the program against a bare Qt tray program, under Xvfb + openbox + trayer, each
# started alternately (default 9 times) in a folder holding a valid 股票.mdb. Prints the median
# time until the first window is visible and the median resident memory 1.5 s after start.
#   bench/startup.sh [runs]     (needs a build in build/)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
STOCKCALC="$root/build/stockcalc"
BARE="$root/build/bench/bare_tray"
CREATE_DATABASE="$root/build/tools/create_database"
. "$root/tests/e2e/lib.sh"

start_desktop
work="$E2E_DIR/work"
mkdir -p "$work"
"$CREATE_DATABASE" "$work/股票.mdb" || fail "cannot create the database"

# measure <program> <window title>: prints "<ms until visible> <kB resident after 1.5 s>".
measure() {
    local start pid ms rss
    start=$(date +%s%N)
    (cd "$work" && exec "$1") >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do
        sleep 0.005
        [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 10000 ] && fail "$1 showed no window"
    done
    ms=$(( ($(date +%s%N) - start) / 1000000 ))
    sleep $(awk "BEGIN { print 1.5 - $ms / 1000 }" | sed 's/^-.*/0/')
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null
    sleep 0.3
    echo "$ms $rss"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$E2E_DIR/ours"
: >"$E2E_DIR/bare"
measure "$BARE" 空白托盘程序 >/dev/null  # warm the caches of both once
measure "$STOCKCALC" 岚石股票收益计算器 >/dev/null
for ((i = 0; i < runs; i++)); do
    measure "$BARE" 空白托盘程序 >>"$E2E_DIR/bare"
    measure "$STOCKCALC" 岚石股票收益计算器 >>"$E2E_DIR/ours"
done
bare_ms=$(cut -d' ' -f1 "$E2E_DIR/bare" | median)
bare_kb=$(cut -d' ' -f2 "$E2E_DIR/bare" | median)
ours_ms=$(cut -d' ' -f1 "$E2E_DIR/ours" | median)
ours_kb=$(cut -d' ' -f2 "$E2E_DIR/ours" | median)
printf '%-14s %10s %14s\n' program "visible ms" "resident kB"
printf '%-14s %10s %14s\n' bare_tray "$bare_ms" "$bare_kb" stockcalc "$ours_ms" "$ours_kb"
awk -v a="$ours_ms" -v b="$bare_ms" -v c="$ours_kb" -v d="$bare_kb" \
    'BEGIN { printf "ratios: time %.2f, memory %.2f (over %d runs each)\n", a / b, c / d, '"$runs"' }'
