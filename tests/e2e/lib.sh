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

# start_xvfb: an X server of the test's own at 1024 x 768, without key auto-repeat. It keeps its
# settings when its last client leaves (-noreset), as a desktop's server does.
start_xvfb() {
    local fd_file="$E2E_DIR/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fd_file" 2>/dev/null &
    E2E_PIDS+=($!)
    wait_until 10 test -s "$fd_file" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
    wait_until 10 xdpyinfo || fail "X server $DISPLAY does not answer"
    no_key_repeat
}

# no_key_repeat: turns key auto-repeat off on $DISPLAY. A key whose release is lost when its
# window goes away (a Return that answers a box) would repeat into the next window.
no_key_repeat() {
    xset r off || fail "cannot turn key auto-repeat off on $DISPLAY"
    xset q | grep -q 'auto repeat: *off' || fail "key auto-repeat is still on on $DISPLAY"
}

# start_desktop [--no-tray]: Xvfb, openbox, and trayer unless told not to.
start_desktop() {
    start_xvfb
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

# The program's tray icon: the window trayer embedded for it, once it shows there. Only
# trayer's own windows are walked: a window elsewhere that goes away meanwhile cannot fail it.
tray_icon() {
    local panel id
    for panel in $(xdotool search --class '^trayer$'); do
        id=$(xwininfo -id "$panel" -tree 2>/dev/null \
            | awk '/\("stockcalc" "stockcalc"\)/ { print $1; exit }')
        [ -n "$id" ] && [ "$(map_state "$id")" = IsViewable ] && echo "$id" && return 0
    done
    return 1
}

map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ { print $3 }'; }

# The program's mapped pop-ups (menus, balloons): its override-redirect windows on the root.
# Fails when there is none.
visible_menus() {
    local id found=1
    for id in $(xwininfo -root -children | awk '/\("stockcalc" "stockcalc"\)/ { print $1 }'); do
        [ "$(map_state "$id")" = IsViewable ] || continue
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' \
            && echo "$id" && found=0
    done
    return $found
}

no_menus() { [ -z "$(visible_menus)" ]; }

# open_tray_menu [button]: presses on the tray icon and waits for the menu. Two presses on the
# icon within the double-click time make a double click, whose second press opens nothing: a
# press follows the one before it after that time.
open_tray_menu() {
    local icon
    icon=$(wait_until 10 tray_icon && tray_icon) || return 1
    after_double_click_time
    click_window "$icon" 8 8 "${1:-1}"
    icon_pressed
    wait_until 10 visible_menus
}

# icon_pressed: notes the time of a press on the tray icon, in microseconds.
icon_pressed() { E2E_ICON_PRESSED=${EPOCHREALTIME/[.,]/}; }

# after_double_click_time: returns once Qt's double-click time (400 ms, with room to spare) has
# passed since the last press on the tray icon.
after_double_click_time() {
    local left=$((600000 - (${EPOCHREALTIME/[.,]/} - ${E2E_ICON_PRESSED:-0})))
    [ "$left" -le 0 ] || sleep "$(printf '0.%06d' "$left")"
}

# work_area: "x y width height" of the desktop's work area, the whole 1024 x 768 screen where
# the window manager publishes none.
work_area() {
    local area
    area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.*= //p' | cut -d, -f1-4 | tr -d ,)
    echo "${area:-0 0 1024 768}"
}

# frame_centred <id>: the window, frame included, lies in the middle of the work area.
frame_centred() {
    local x y w h l r t b ax ay aw ah
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left [XY]/ { printf "%s ", $4 }
        /Width:|Height:/ { printf "%s ", $2 }')
    IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
    read -r ax ay aw ah < <(work_area)
    # Twice the distance between the frame's centre and the work area's, so odd sizes fit.
    local dx=$((2 * (x - l - ax) + l + w + r - aw)) dy=$((2 * (y - t - ay) + t + h + b - ah))
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
# (waits up to 3 seconds for it; an empty field gives nothing).
field_text() {
    printf '' | xclip -selection clipboard
    xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.1 key ctrl+a ctrl+c
    wait_until 3 sh -c 'xclip -selection clipboard -o 2>/dev/null | grep -q .'
    xclip -selection clipboard -o 2>/dev/null
}

# field_is <window> <x> <y> <text>: the field at that point shows exactly this text.
field_is() { [ "$(field_text "$1" "$2" "$3")" = "$4" ]; }

# started: the tray icon is there and the about screen shown at start has closed itself. The
# icon can show before the about screen first does, while the program is still starting.
started() { tray_icon && about_closed; }

# about_closed: the about screen was shown (the window manager framed it) and is hidden now.
about_closed() {
    local id
    id=$(xdotool search --name '^岚石股票收益计算器$' | head -n1)
    [ -n "$id" ] && xprop -id "$id" _NET_FRAME_EXTENTS | grep -q '=' \
        && [ "$(map_state "$id")" = IsUnMapped ]
}

# type_into <window> <x> <y> <text>: replaces the text of the field at that point.
type_into() {
    xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.1 key ctrl+a BackSpace
    xdotool type --delay 30 "$4"
}

# click_window <id> <x> <y> [button]: presses at a point inside the window.
click_window() {
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.1 click "${4:-1}"
}
