#!/usr/bin/env bash
# The database tool's command line: --help answers with usage, options it does not know are
# refused, and nothing named like an option is ever created.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$("$CREATE_DATABASE" --help) || fail "--help exits with $?"
echo "$out" | grep -qi usage || fail "--help prints no usage: $out"
for args in "-x" "--help-all" "--force 股票.mdb" "./-x" "a.mdb b.mdb"; do
    # shellcheck disable=SC2086
    err=$("$CREATE_DATABASE" $args 2>&1 >/dev/null) && fail "'$args' was accepted"
    [ -n "$err" ] || fail "'$args' was refused without a message"
done
[ -z "$(ls -A)" ] || fail "files were created: $(ls -A)"
"$CREATE_DATABASE" || fail "no database in the current folder"
[ -s 股票.mdb ] || fail "股票.mdb was not created"
echo PASS
