#!/usr/bin/env bash
# The desktop program by the keyboard only, on a virtual X display under a
# real window manager (openbox), driven with xdotool: the menus through
# their Alt letters, one full Tab cycle of the Compare window and of the
# graphic results in both directions, the keyboard's place when each window
# opens, a refused value going back, and Exit.
#
# Where the focus is cannot be asked of the program, so each check lets a
# key act on the control the focus should be on: Space on Close closes the
# window, the arrow keys on the point choice change the chart, a letter
# typed into the emissivity box is refused when the box is left.  A focus
# held by a table would swallow all of them.
#
# usage: keyboard.sh RESHEAT SCREEN_PROBE EXAMPLES_DIR
#
# Exit status: 0 passed, 1 failed, 77 skipped (no X server could be
# started).  Every wait has a timeout and the whole run a deadline.
set -u

readonly SKIP=77
readonly DEADLINE=$((SECONDS + 100))

if [ $# -ne 3 ]; then
    echo "usage: $0 RESHEAT SCREEN_PROBE EXAMPLES_DIR" >&2
    exit 2
fi
readonly resheat=$1 probe_program=$2 examples=$3
unset DISPLAY

work=$(mktemp -d "${TMPDIR:-/tmp}/resheat-keys.XXXXXX") || exit 1
pids=()
failed=0
step="start-up"

stop_processes() {
    local i pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill -TERM "$pid" 2>/dev/null || continue
        for _ in $(seq 40); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    pids=()
}

cleanup() {
    stop_processes
    if [ "$failed" -eq 0 ]; then
        rm -rf "$work"
    else
        echo "logs and screenshots kept in $work" >&2
    fi
}
trap cleanup EXIT
trap 'failed=1; exit 1' INT TERM HUP

probe() { timeout 10 "$probe_program" "$@"; }

fail() {
    failed=1
    echo "FAIL ($step): $*" >&2
    [ -n "${DISPLAY:-}" ] && probe 0 0 1280 1024 "$work/screen.png" >/dev/null 2>&1
    for log in resheat openbox; do
        if [ -s "$work/$log.log" ]; then
            echo "--- $log output:" >&2
            tail -n 20 "$work/$log.log" >&2
        fi
    done
    exit 1
}

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: the virtual X server (Xvfb) is not installed" >&2
    exit $SKIP
fi
for tool in openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
done

mkdir -m 700 "$work/home" "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY

# wait_until SECONDS WHAT COMMAND...: runs COMMAND until it succeeds.
wait_until() {
    local limit=$((SECONDS + $1)) what=$2
    shift 2
    [ "$limit" -gt "$DEADLINE" ] && limit=$DEADLINE
    until "$@"; do
        [ "$SECONDS" -ge "$limit" ] && fail "$what"
        sleep 0.1
    done
}

# --- the X server, the window manager, the program ---------------------

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
until grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; do
    if ! kill -0 "${pids[0]}" 2>/dev/null; then
        echo "SKIP: the virtual X server (Xvfb) could not be started:" >&2
        tail -n 5 "$work/xvfb.log" >&2
        exit $SKIP
    fi
    [ "$SECONDS" -ge "$DEADLINE" ] && fail "the virtual X server (Xvfb) did not report its display"
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 15 "the window manager did not start" wm_running
xdotool mousemove 1279 1023 # the pointer out of the way of every window

# The worked bar, read at start as a file manager would open it.
"$resheat" "$examples/steel-bar.dxy" >"$work/resheat.log" 2>&1 &
resheat_pid=$!
pids+=("$resheat_pid")

# --- windows --------------------------------------------------------------

# window TITLE: sets $found to the visible window with exactly that title.
window() {
    local limit=$((SECONDS + 20))
    [ "$limit" -gt "$DEADLINE" ] && limit=$DEADLINE
    found=""
    until [ -n "$found" ]; do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        if [ -z "$found" ]; then
            kill -0 "$resheat_pid" 2>/dev/null || fail "the program ended while waiting for \"$1\""
            [ "$SECONDS" -ge "$limit" ] && fail "window \"$1\" did not appear"
            sleep 0.1
        fi
    done
}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
hidden() { ! viewable "$1"; }
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# keys ID KEY...: the keys to window ID, once it is the active window.
keys() {
    local id=$1
    shift
    timeout 5 xdotool windowactivate --sync "$id" >/dev/null 2>&1
    wait_until 5 "window $id did not become active" active "$id"
    xdotool key --delay 60 "$@"
}

# inside ID: sets $x and $y to the screen position of the window's inside.
inside() {
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
}

# settled X Y W H: the screen there stays the same for a second.
settled() {
    local a b
    a=$(probe "$@") || return 1
    sleep 1
    b=$(probe "$@") || return 1
    [ "$a" = "$b" ]
}

# closes_with ID KEY...: the keys make window ID go and the main window
# come back.
closes_with() {
    local id=$1
    shift
    keys "$id" "$@"
    wait_until 10 "the keys $* did not close the window" hidden "$id"
    window "Resistance heating"
}

# menu_alt KEY...: Alt and the letters from the main window.
menu_alt() {
    window "Resistance heating"
    keys "$found" "$@"
}

# --- the Compare window -------------------------------------------------

readonly compare="Constant and temperature-dependent properties, xy geometry"
open_compare() {
    menu_alt alt+m x
    window "$compare"
    id=$found
    inside "$id"
    # The run ends: all but the row of the emissivity box (whose caret
    # blinks) settles.
    wait_until 40 "the comparison did not end" settled "$x" $((y + 40)) 1000 600
}

# The cycle, from the emissivity box where the keyboard starts: Load
# property table, Calculate, the table, the notes, Print, Close.
step="Compare: six Tab to Close"
open_compare
closes_with "$id" Tab Tab Tab Tab Tab Tab space
step="Compare: seven Tab back to the start, one Shift+Tab to Close"
open_compare
closes_with "$id" Tab Tab Tab Tab Tab Tab Tab shift+Tab space
step="Compare: Shift+Tab from the start to Close"
open_compare
closes_with "$id" shift+Tab space

# The keyboard starts in the emissivity box: a letter typed there is
# refused when Tab leaves the box.
step="Compare: the keyboard starts in the emissivity box"
open_compare
keys "$id" x Tab
window "Input Error"
box=$found
keys "$box" Return
wait_until 10 "the message did not go" hidden "$box"
step="Compare: Alt+C closes"
closes_with "$id" alt+c

# --- the graphic results ---------------------------------------------------

readonly graphic="Temperature for xy geometry"
step="Calculations by Alt letters"
menu_alt alt+c x
sleep 1
open_graphic() {
    menu_alt alt+r x g
    window "$graphic"
    id=$found
    inside "$id"
    chart=($((x + 16)) $((y + 24)) 441 369)
    wait_until 15 "the chart did not settle" settled "${chart[@]}"
}

# The keyboard starts at the point choice: Down picks Tw, Up To again.
step="graphic results: the keyboard starts at the point choice"
open_graphic
before=$(probe "${chart[@]}")
keys "$id" Down
changed() { [ "$(probe "${chart[@]}")" != "$before" ]; }
wait_until 10 "Down did not change the chart" changed
keys "$id" Up
same() { [ "$(probe "${chart[@]}")" = "$before" ]; }
wait_until 10 "Up did not bring To back" same

# The cycle: the point choice, Print, Close, the table.  Two Tab reach
# Close; six (a cycle and two) too, so Tab left the table.
step="graphic results: two Tab to Close"
closes_with "$id" Tab Tab space
step="graphic results: a cycle and two Tab to Close"
open_graphic
closes_with "$id" Tab Tab Tab Tab Tab Tab space
step="graphic results: two Shift+Tab from the start to Close"
open_graphic
closes_with "$id" shift+Tab shift+Tab space

# --- the end --------------------------------------------------------------

step="Exit by Alt letters"
menu_alt alt+f e
exited() { ! kill -0 "$resheat_pid" 2>/dev/null; }
wait_until 10 "the program did not end after Exit" exited
wait "$resheat_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"

echo "PASS: menus by Alt letters; Tab cycles of the Compare window and the graphic results in both directions; the keyboard's start in each; a refused value; clean exit"
