#!/usr/bin/env bash
# The database tool's command line: --help answers with usage, options it does not know and
# names like options are refused with a message, and nothing but the database is created.
set -u
cd "$(mktemp -d)" && trap 'rm -rf "$PWD"' EXIT || exit 1
fail() { echo "FAIL: $*" >&2; exit 1; }
out=$("$CREATE_DATABASE" --help) && echo "$out" | grep -qi usage || fail "--help: $out"
for args in "-x" "--help-all" "./-x" "a.mdb b.mdb"; do
    # shellcheck disable=SC2086
    err=$("$CREATE_DATABASE" $args 2>&1) && fail "'$args' was accepted"
    [ -n "$err" ] || fail "'$args' was refused without a message"
done
"$CREATE_DATABASE" && [ "$(ls -A)" = 股票.mdb ] || fail "made $(ls -A), not 股票.mdb"
echo PASS
