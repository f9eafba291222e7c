#!/usr/bin/env bash
# Fuzzes for a bounded time: the import's reading of Jet files for the given seconds (default
# 120), started from the committed Jet files, then the minute service's replies into the
# chart's day for 30 s, started from the committed replies. Builds the fuzz targets with
# clang's libFuzzer into build-fuzz. Ends non-zero when either failed: the program's side
# crashed, a reading gave neither content nor reason, or a reply put into the day a minute
# the chart cannot draw.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
minute_seconds=30
dir=build-fuzz
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DSTOCKCALC_FUZZ=ON -DSTOCKCALC_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target fuzz_jet_reader stockcalc-jet-reader fuzz_minute_reply

# Runs one target over its corpus, prints its end and whether it passed; returns its status.
run() {
    local name=$1 corpus=$2 time=$3
    shift 3
    local status
    set +e
    "$dir/tests/$name" -max_total_time="$time" -print_final_stats=1 "$@" "$corpus" 2>&1 |
        tail -n 25
    status=${PIPESTATUS[0]}
    set -e
    [ "$status" -eq 0 ] && echo "$name: 1 passed, 0 failed" || echo "$name: 0 passed, 1 failed"
    return "$status"
}

jet_corpus="$dir/fuzz-corpus"
mkdir -p "$jet_corpus"
cp tests/data/jet/*.mdb "$jet_corpus/"
minute_corpus="$dir/fuzz-corpus-minutes"
mkdir -p "$minute_corpus"
cp tests/data/minutes/*.json "$minute_corpus/"

# The reading program's own crashes and limits are outcomes here, and its warnings are
# thrown away by the reading; only this process's failures count.
status=0
run fuzz_jet_reader "$jet_corpus" "$seconds" -timeout=60 -rss_limit_mb=4096 \
    -max_len=300000 || status=$?
minute_status=0
run fuzz_minute_reply "$minute_corpus" "$minute_seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 || minute_status=$?
[ "$status" -ne 0 ] || status=$minute_status
exit "$status"
