# A real X desktop for end-to-end tests: Xvfb, openbox as window manager and trayer as the
# notification area, each test in its own display, runtime folder and working folder.
# Sourced by the test scripts; STOCKCALC must name the built program.

set -u

E2E_PIDS=()
E2E_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export HOME="$E2E_DIR/home"
mkdir -p "$HOME"
unset DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=1

fail() {
    echo "FAIL: $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$E2E_DIR/failure.png" 2>/dev/null \
        && echo "screenshot: $E2E_DIR/failure.png" >&2
    exit 1
}

cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    [ "${E2E_KEEP:-0}" = 1 ] || rm -rf "$E2E_DIR"
}
trap cleanup EXIT

# wait_until <seconds> <command...>: polls every 0.1 s.
wait_until() {
    local limit=$(( $1 * 10 )) i=0
    shift
    while ! "$@" >/dev/null 2>&1; do
        i=$((i + 1))
        [ "$i" -ge "$limit" ] && return 1
        sleep 0.1
    done
    return 0
}

# start_desktop [--no-tray]: Xvfb at 1024 x 768, openbox, and trayer unless told not to.
start_desktop() {
    local fd_file="$E2E_DIR/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
    E2E_PIDS+=($!)
    wait_until 10 test -s "$fd_file" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
    wait_until 10 xdpyinfo || fail "X server $DISPLAY does not answer"
    local attempt
    for attempt in 1 2 3; do
        openbox --sm-disable >>"$E2E_DIR/openbox.log" 2>&1 &
        E2E_PIDS+=($!)
        wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
            && break
        echo "openbox did not come up (attempt $attempt)" >&2
        kill "${E2E_PIDS[-1]}" 2>/dev/null
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" || fail "openbox did not start"
    if [ "${1:-}" != "--no-tray" ]; then
        start_tray
    fi
}

start_tray() {
    trayer --edge top --align right --widthtype pixel --width 60 --heighttype pixel \
        --height 24 --SetDockType true --transparent false --tint 0x404040 >/dev/null 2>&1 &
    TRAY_PID=$!
    E2E_PIDS+=("$TRAY_PID")
    wait_until 10 sh -c 'xprop -root -notype | grep -q . && xdotool search --classname trayer' \
        || fail "trayer did not start"
}

# start_program [folder] [--no-database]: runs the program with the folder as its current
# directory; a new empty database is made there first unless told not to.
start_program() {
    local folder=${1:-$E2E_DIR/work}
    mkdir -p "$folder"
    if [ "${2:-}" != "--no-database" ] && [ ! -e "$folder/股票.mdb" ]; then
        "$CREATE_DATABASE" "$folder/股票.mdb" || fail "cannot create the database"
    fi
    (cd "$folder" && exec "$STOCKCALC") >"$E2E_DIR/program.log" 2>&1 &
    PROGRAM_PID=$!
    E2E_PIDS+=("$PROGRAM_PID")
}

program_running() { kill -0 "${1:-$PROGRAM_PID}" 2>/dev/null; }

# visible_window <title>: ids of mapped windows with exactly this title.
visible_window() { xdotool search --onlyvisible --name "^$1\$"; }

# The program's tray icon: the window trayer embedded for it.
tray_icon() {
    xwininfo -root -tree | awk '/\("panel" "trayer"\)/ { inside = 1 }
        inside && !found && /\("stockcalc" "stockcalc"\)/ { print $1; found = 1 }' | grep .
}

# The program's mapped pop-ups (menus, balloons): its override-redirect windows on the root.
# Fails when there is none.
visible_menus() {
    local id found=1
    for id in $(xwininfo -root -children | awk '/\("stockcalc" "stockcalc"\)/ { print $1 }'); do
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' || continue
        xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && echo "$id" && found=0
    done
    return $found
}

no_menus() { [ -z "$(visible_menus)" ]; }

# open_tray_menu [button]: presses on the tray icon and waits for the menu. Presses closer
# together than the double-click time would make a double click, whose second press does nothing.
open_tray_menu() {
    sleep 0.6
    click_window "$(tray_icon)" 8 8 "${1:-1}"
    wait_until 3 visible_menus
}

# frame_centred <id>: the window, frame included, lies in the middle of the 1024 x 768 screen.
frame_centred() {
    local x y w h l r t b
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left [XY]/ { printf "%s ", $4 }
        /Width:|Height:/ { printf "%s ", $2 }')
    IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
    # Twice the distance between the frame's centre and the screen's, so odd sizes fit.
    local dx=$((2 * (x - l) + l + w + r - 1024)) dy=$((2 * (y - t) + t + h + b - 768))
    [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] || { echo "$1 off centre: $dx/2, $dy/2" >&2; false; }
}

# choose_menu_entry <n>: opens the tray menu and picks its n-th entry (separators skipped).
choose_menu_entry() {
    open_tray_menu || fail "the tray menu did not open"
    local keys=()
    for ((i = 0; i < $1; i++)); do keys+=(Down); done
    xdotool key "${keys[@]}" Return
}

# field_text <window> <x> <y>: the text of the field at that point, through the clipboard
# (waits up to a second for it; an empty field gives nothing).
field_text() {
    printf '' | xclip -selection clipboard
    xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.1 key ctrl+a ctrl+c
    wait_until 1 sh -c 'xclip -selection clipboard -o 2>/dev/null | grep -q .'
    xclip -selection clipboard -o 2>/dev/null
}

# field_is <window> <x> <y> <text>: the field at that point shows exactly this text.
field_is() { [ "$(field_text "$1" "$2" "$3")" = "$4" ]; }

# started: the tray icon is there and the about screen shown at start has closed itself.
started() { tray_icon && ! visible_window 岚石股票收益计算器; }

# type_into <window> <x> <y> <text>: replaces the text of the field at that point.
type_into() {
    xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.1 key ctrl+a BackSpace
    xdotool type --delay 30 "$4"
}

# click_window <id> <x> <y> [button]: presses at a point inside the window.
click_window() {
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.1 click "${4:-1}"
}
