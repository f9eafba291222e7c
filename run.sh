#!/usr/bin/env bash
# Installs what is missing, builds and starts 岚石股票收益计算器 from the folder run/,
# where its database 股票.mdb lives.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build -DSTOCKCALC_BENCH=OFF
mkdir -p run
cd run
if [ -x ../build/tools/create_database ] && [ ! -e 股票.mdb ]; then
    ../build/tools/create_database 股票.mdb
fi
exec ../build/stockcalc
