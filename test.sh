#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: unit, widget (offscreen) and
# end-to-end (under Xvfb with openbox and trayer).
#   ./test.sh              everything
#   ./test.sh --sanitize   unit and widget tests built with AddressSanitizer + UBSan
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
if [ "${1:-}" = "--sanitize" ]; then
    scripts/build.sh build-sanitize -DSTOCKCALC_SANITIZE=ON -DSTOCKCALC_BENCH=OFF
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-sanitize --output-on-failure -L 'unit|widget'
else
    scripts/build.sh build
    ctest --test-dir build --output-on-failure
fi
