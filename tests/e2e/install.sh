#!/usr/bin/env bash
# The Debian package: built by CPack, unpacked into a scratch root, and the installed program
# started the way the desktop menu starts it, with a fresh home. It works in the user's data
# folder, where it makes a fresh database, and says nothing about a missing one.
. "$(dirname "$0")/lib.sh"

cpack -G DEB -B "$E2E_DIR/package" --config "$BUILD_DIR/CPackConfig.cmake" >"$E2E_DIR/cpack.log" 2>&1 \
    || fail "cpack failed: $(tail -3 "$E2E_DIR/cpack.log")"
package=$(ls "$E2E_DIR"/package/stockcalc_*.deb) || fail "no package was made"
dpkg-deb -f "$package" Depends | grep -q libqt6sql6-sqlite || fail "the SQLite driver is not a dependency"
root="$E2E_DIR/root"
dpkg -x "$package" "$root"
entry="$root/usr/share/applications/stockcalc.desktop"
[ -f "$entry" ] || fail "no desktop entry"
grep -qx 'Name=股票收益计算器' "$entry" || fail "the entry has no Chinese name"
grep -qx 'Categories=Office;Finance;' "$entry" || fail "the entry is not under Office/Finance"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/stockcalc.svg" ] || fail "no icon in hicolor"
command=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$root/usr/bin/$command" ] || fail "the entry's command '$command' is not installed"
# The Jet file reader beside the program; only it reads Jet files with libmdb.
[ -x "$root/usr/bin/stockcalc-jet-reader" ] || fail "the Jet file reader is not beside the program"
readelf -d "$root/usr/bin/$command" | grep -q 'libmdb' && fail "the program links libmdb"
readelf -d "$root/usr/bin/stockcalc-jet-reader" | grep -q 'libmdb' || fail "the reader lacks libmdb"

start_desktop
(cd / && exec "$root/usr/bin/$command") >"$E2E_DIR/program.log" 2>&1 &
PROGRAM_PID=$!
E2E_PIDS+=("$PROGRAM_PID")
wait_until 8 visible_window 岚石股票收益计算器 || fail "the about screen did not show"
wait_until 8 tray_icon || fail "no tray icon"
sleep 1
visible_window 数据库无法读取 >/dev/null && fail "the installed program reports no database"
program_running || fail "the program ended"
[ -f "$HOME/.local/share/stockcalc/股票.mdb" ] || fail "no database in the data folder"
sqlite3 "$HOME/.local/share/stockcalc/股票.mdb" "SELECT A2, LM, TM FROM setup" | grep -qx '1.0|5.0|60' \
    || fail "the fresh database does not hold the defaults"
[ "$(find "$root" -newer "$package" -type f | wc -l)" -eq 0 ] || fail "files were written into the installation"
echo PASS
