#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: unit, widget (offscreen) and
# end-to-end (under Xvfb with openbox and trayer, and under weston with XWayland).
#   ./test.sh              everything
#   ./test.sh --sanitize   unit and widget tests and the shell end-to-end test, built with
#                          AddressSanitizer (leak detection on) and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
if [ "${1:-}" = "--sanitize" ]; then
    scripts/build.sh build-sanitize -DSTOCKCALC_SANITIZE=ON -DSTOCKCALC_BENCH=OFF -DSTOCKCALC_WERROR=ON
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-sanitize --output-on-failure -L 'unit|widget'
    ctest --test-dir build-sanitize --output-on-failure -R '^e2e_shell$'
else
    scripts/build.sh build -DSTOCKCALC_WERROR=ON -DSTOCKCALC_BENCH=ON
    ctest --test-dir build --output-on-failure
fi
