#!/usr/bin/env bash
# Fuzzes the import's reading of Jet files for a bounded time (default 120 s): builds the fuzz
# target with clang's libFuzzer into build-fuzz and starts it from the committed Jet files.
# Ends non-zero when the program's side crashed or a reading gave neither content nor reason.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
dir=build-fuzz
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DSTOCKCALC_FUZZ=ON -DSTOCKCALC_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target fuzz_jet_reader stockcalc-jet-reader
corpus="$dir/fuzz-corpus"
mkdir -p "$corpus"
cp tests/data/jet/*.mdb "$corpus/"
# The reading program's own crashes and limits are outcomes here, and its warnings are
# thrown away by the reading; only this process's failures count.
set +e
"$dir/tests/fuzz_jet_reader" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
    -max_len=300000 -print_final_stats=1 "$corpus" 2>&1 | tail -n 25
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] && echo "fuzz_jet_reader: 1 passed, 0 failed" || echo "fuzz_jet_reader: 0 passed, 1 failed"
exit "$status"
