#!/usr/bin/env bash
# The trading-client refresh on a real desktop: a stand-in client, minimised, is restored and
# receives F6. Its title is in _NET_WM_NAME only, where the desktop finds it. The switch is
# stored on at 1 s: the first refresh comes at the design 60 s, the following ones every second.
. "$(dirname "$0")/lib.sh"

start_desktop
keys="$E2E_DIR/keys.txt"
"$CLIENT_PROBE" >"$keys" 2>"$E2E_DIR/client.log" &
E2E_PIDS+=($!)
wait_until 5 visible_window 国海证券网上交易 || fail "the stand-in client did not show"
client=$(visible_window 国海证券网上交易 | head -n1)
xprop -id "$client" -remove WM_NAME
wait_until 5 sh -c "! xprop -id $client WM_NAME | grep -q '='" || fail "WM_NAME is still set"
xprop -id "$client" _NET_WM_NAME | grep -q '"国海证券网上交易"' || fail "no _NET_WM_NAME"
xdotool windowminimize "$client"
wait_until 5 sh -c "xprop -id $client WM_STATE | grep -q Iconic" || fail "the client did not minimise"

work="$E2E_DIR/work"
mkdir -p "$work"
"$CREATE_DATABASE" "$work/股票.mdb" || fail "cannot create the database"
sqlite3 "$work/股票.mdb" "UPDATE setup SET CN = 1, TM = 1" || fail "cannot store the switch"
started=$SECONDS
start_program "$work"

wait_until 80 grep -q . "$keys" || fail "the client received no key"
waited=$((SECONDS - started))
[ "$waited" -ge 55 ] || fail "the first refresh came after ${waited} s, not the design 60 s"
[ "$(head -n1 "$keys")" = "F6 shown" ] || fail "the client received: $(head -n1 "$keys")"
xprop -id "$client" WM_STATE | grep -q Normal || fail "the client was not restored"
[ "$(xdotool getactivewindow)" = "$client" ] || fail "the client is not the active window"
# From the first refresh that found the client on, the stored 1 s counts.
wait_until 4 sh -c "[ \$(grep -c '^F6 shown$' '$keys') -ge 3 ]" \
    || fail "no refresh every second after the first: $(tr '\n' ',' <"$keys")"
program_running || fail "the program ended"
echo "PASS (first F6 after ${waited} s; $(wc -l <"$keys") keys)"
