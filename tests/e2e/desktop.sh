#!/usr/bin/env bash
# The desktop program as a user meets it: on a virtual X display under a
# real window manager (openbox), driven with the keyboard and the mouse
# through xdotool.  The script opens each data dialog, reads the worked
# cases through the file dialogs, runs both calculations, opens and closes
# both text and graphic results windows, each window twice, runs the xy
# calculation once with the classic formulas and once without, and exits.  It
# checks that every showing puts the window's frame (title bar and borders
# included) at the window's screen position, that the time column of the
# graphic table stays put when the table is scrolled sideways, and that the
# program ends cleanly.
#
# usage: desktop.sh RESHEAT SCREEN_PROBE EXAMPLES_DIR
#
# Exit status: 0 passed, 1 failed, 77 skipped (no X server could be
# started).  Every wait has a timeout and the whole run a deadline, so a
# window that does not come makes the test fail instead of hanging; every
# process it starts is ended whatever happens.
set -u

readonly SKIP=77
readonly DEADLINE=$((SECONDS + 75))

if [ $# -ne 3 ]; then
    echo "usage: $0 RESHEAT SCREEN_PROBE EXAMPLES_DIR" >&2
    exit 2
fi
readonly resheat=$1 probe_program=$2 examples=$3
unset DISPLAY

work=$(mktemp -d "${TMPDIR:-/tmp}/resheat-e2e.XXXXXX") || exit 1
pids=()
failed=0

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

# probe X Y WIDTH HEIGHT [FILE.png]: a checksum of that part of the screen.
probe() { timeout 10 "$probe_program" "$@"; }

fail() {
    failed=1
    echo "FAIL: $*" >&2
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
for tool in openbox xdotool xwininfo xprop xev; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
done

# Everything runs with a home of its own and on the X server started below,
# whatever the calling environment says.
mkdir -m 700 "$work/home" "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

# wait_until SECONDS WHAT COMMAND...: runs COMMAND until it succeeds; fails
# the test with WHAT when it has not within SECONDS or by the deadline.
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

# Xvfb picks a free display itself and writes its number to fd 3.  Only
# an Xvfb that gives up makes the test skip; one that does not answer in
# time makes it fail.
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
root=$(xwininfo -root | awk '/Window id:/ {print $4}')

# Every window of the display as it comes and goes, to see where each
# frame was when it appeared, also for windows that are up only briefly.
xev -root -event substructure >"$work/xev.log" 2>&1 &
pids+=($!)
# Listening once it logs the windows a small client of our own creates.
xev_listening() { probe 0 0 1 1 >/dev/null 2>&1 && grep -q '^CreateNotify' "$work/xev.log"; }
wait_until 15 "the log of the display did not start" xev_listening

"$resheat" >"$work/resheat.log" 2>&1 &
resheat_pid=$!
pids+=("$resheat_pid")

# --- windows --------------------------------------------------------------

# window TITLE: sets $found to the id of the visible window with exactly
# that title, once it is on the screen.
window() {
    local limit=$((SECONDS + 15))
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

# frame ID: prints "x,y" of the outermost window holding window ID, the
# frame the window manager put around it.
frame() {
    local w=$1 parent
    while parent=$(xwininfo -tree -id "$w" 2>/dev/null | awk '/Parent window id:/ {print $4}') &&
        [ -n "$parent" ] && [ "$parent" != "$root" ]; do
        w=$parent
    done
    xwininfo -id "$w" 2>/dev/null | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x "," y}'
}

# expect_frame ID X,Y WHAT: the window's frame is at X,Y (the window
# manager may take a moment to put it there).
expect_frame() {
    local limit=$((SECONDS + 5))
    until [ "$(frame "$1")" = "$2" ]; do
        [ "$SECONDS" -ge "$limit" ] && fail "$3: frame at $(frame "$1"), expected $2"
        sleep 0.1
    done
}

# inside ID: sets $x and $y to the screen position of the window's inside.
inside() {
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
}

activate() {
    timeout 5 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || fail "could not activate window $1"
}

# menu KEY...: Alt opens the main window's menu bar at "Files"; the keys
# walk from there.  No message box may be up.
menu() {
    local box
    box=$(xdotool search --onlyvisible --name '^(Input Error|Execution Error|Calculation Error|Information|resheat)$' \
        getwindowname %@ 2>/dev/null | head -n 1)
    [ -z "$box" ] || fail "unexpected message box \"$box\""
    window "Resistance heating"
    activate "$found"
    xdotool key alt "$@"
}

# park_pointer: the pointer out of the way, in the screen's far corner,
# so that no menu opens under it and takes it for a choice.
park_pointer() { xdotool mousemove 1279 1023; }

# click_at ID X Y: a left click at (X, Y) inside the window.
click_at() {
    inside "$1"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
    park_pointer
}

# open_and_check TITLE X,Y KEY...: the menu command the keys reach opens
# window TITLE, whose id goes to $found, with its frame at X,Y.
open_and_check() {
    local title=$1 at=$2
    shift 2
    menu "$@"
    window "$title"
    expect_frame "$found" "$at" "\"$title\""
}

# back_to_main ID: window ID has gone and the main window is back in place.
back_to_main() {
    wait_until 10 "window $1 did not close" hidden "$1"
    window "Resistance heating"
    expect_frame "$found" 10,10 "main window shown again"
}

# read_case KEY... FILE: a read command through its file dialog.
read_case() {
    local file=${*: -1} dialog
    menu "${@:1:$#-1}"
    window "Open"
    dialog=$found
    activate "$dialog"
    xdotool type --delay 5 "$file"
    xdotool key Return
    wait_until 10 "the file dialog did not close" hidden "$dialog"
}

# showings TITLE: one line "x,y-x,y" for every showing of window TITLE that
# has ended, from the log of the display: where its frame was when it
# appeared and when it went.  Nothing while there is no such window.
showings() {
    local client
    client=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$client" ] || return 0
    awk 'BEGIN {RS = ""} {gsub(/\n/, " "); print}' "$work/xev.log" | sed -nE \
        -e 's/^CreateNotify .* window (0x[0-9a-f]+), \((-?[0-9]+),(-?[0-9]+)\).*/P \1 \2,\3/p' \
        -e 's/^ConfigureNotify .* window (0x[0-9a-f]+), \((-?[0-9]+),(-?[0-9]+)\).*/P \1 \2,\3/p' \
        -e 's/^ReparentNotify .* window (0x[0-9a-f]+), parent (0x[0-9a-f]+),.*/R \1 \2/p' \
        -e 's/^MapNotify .* window (0x[0-9a-f]+),.*/M \1/p' \
        -e 's/^UnmapNotify .* synthetic NO, .* window (0x[0-9a-f]+),.*/U \1/p' |
        awk -v client="$(printf '0x%x' "$client")" -v root="$(printf '0x%x' "$root")" '
            function ended() { if (shown != "") print shown "-" at[frame]; frame = ""; shown = "" }
            $1 == "P" { at[$2] = $3 }
            $1 == "R" && $2 == client { if ($3 == root) ended(); else frame = $3 }
            $1 == "M" && frame != "" && $2 == frame { shown = at[frame] }
            $1 == "U" && frame != "" && $2 == frame { ended() }'
}

# expect_showings TITLE X,Y COUNT: at least COUNT showings have ended, and
# each had the frame at X,Y from its start to its end.
expect_showings() {
    local count=0 s
    for s in $(showings "$1"); do
        count=$((count + 1))
        [ "$s" = "$2-$2" ] ||
            fail "\"$1\", showing $count: frame at ${s%-*} when shown and at ${s#*-} when hidden, expected $2"
    done
    [ "$count" -ge "$3" ] || fail "\"$1\": $count showings seen, expected $3"
}

# run_calculation TITLE KEY...: the calculation command the keys reach shows
# its progress window TITLE, up for a moment only, and ends.
run_calculation() {
    local title=$1 before
    shift
    before=$(showings "$title" | wc -l)
    menu "$@"
    ran() { [ "$(showings "$title" | wc -l)" -gt "$before" ]; }
    wait_until 20 "\"$title\" did not come and go" ran
}

# --- the scenario ----------------------------------------------------------

park_pointer
window "Resistance heating"
expect_frame "$found" 10,10 "main window at start-up"

for round in first later; do
    for geometry in xy rz; do
        if [ $geometry = xy ]; then keys=(Right Down Return); else keys=(Right Down Down Return); fi
        open_and_check "Data for $geometry geometry" 20,20 "${keys[@]}"
        id=$found
        activate "$id"
        xdotool key Escape
        back_to_main "$id"
    done
done

read_case Down Return "$examples/steel-bar.dxy"
read_case Down Down Return "$examples/steel-rod.drz"

for round in first later; do
    run_calculation "Calculations for xy geometry" Right Right Down Return
    run_calculation "Calculations for rz geometry" Right Right Down Down Return
done

for round in first later; do
    # The text results windows close with their Close button.
    open_and_check "Text results for xy" 20,20 Right Right Right Down Right Return
    id=$found
    click_at "$id" 347 445
    back_to_main "$id"
    open_and_check "Text results for rz" 20,20 Right Right Right Down Down Right Return
    id=$found
    click_at "$id" 347 445
    back_to_main "$id"

    open_and_check "Temperature for xy geometry" 20,20 Right Right Right Down Right Down Return
    id=$found
    if [ "$round" = first ]; then
        # The table at (472, 24), 265 by 361: a 24-pixel heading row, the
        # 130-pixel time column, the temperatures beside it, scroll bars.
        inside "$id"
        times=($((x + 474)) $((y + 50)) 126 290)
        temperatures=($((x + 606)) $((y + 50)) 100 290)
        xdotool mousemove $((x + 660)) $((y + 200))
        before_times=$(probe "${times[@]}" "$work/times-before.png")
        before_temperatures=$(probe "${temperatures[@]}")
        for _ in 1 2 3 4 5; do xdotool click 7; done
        scrolled() { [ "$(probe "${temperatures[@]}")" != "$before_temperatures" ]; }
        wait_until 5 "the temperatures did not scroll sideways" scrolled
        park_pointer
        after_times=$(probe "${times[@]}" "$work/times-after.png")
        [ "$after_times" = "$before_times" ] || fail "the time column changed when the table was scrolled sideways"
    fi
    click_at "$id" 676 420
    back_to_main "$id"
    open_and_check "Temperature for rz geometry" 20,20 Right Right Right Down Down Right Down Return
    id=$found
    click_at "$id" 676 420
    back_to_main "$id"
done

# "Classic formulas" in the Calculations menu: the next xy run takes them and
# its text results say so left of Close, where the series' leave the window
# blank; the choice is kept in the user's settings.  Switched off again.
for formulas in classic series; do
    menu Right Right Down Down Down Return
    run_calculation "Calculations for xy geometry" Right Right Down Return
    open_and_check "Text results for xy" 20,20 Right Right Right Down Right Return
    id=$found
    inside "$id"
    caption=$(probe $((x + 24)) $((y + 436)) 190 17 "$work/caption-$formulas.png")
    blank=$(probe $((x + 24)) $((y + 400)) 190 17)
    if [ $formulas = classic ]; then
        [ "$caption" != "$blank" ] || fail "the text results of the classic formulas do not say so"
        grep -q '^classicFormulas=true' "$XDG_CONFIG_HOME/ResHeat/resheat.conf" ||
            fail "\"Classic formulas\" was not kept in the settings"
    else
        [ "$caption" = "$blank" ] || fail "the text results of the series say \"Classic formulas\""
    fi
    click_at "$id" 347 445
    back_to_main "$id"
done

for geometry in xy rz; do
    expect_showings "Data for $geometry geometry" 20,20 2
    expect_showings "Calculations for $geometry geometry" 100,100 2
    expect_showings "Text results for $geometry" 20,20 2
    expect_showings "Temperature for $geometry geometry" 20,20 2
done
expect_showings "Resistance heating" 10,10 12

# "Exit" ends the program at once, and cleanly.
menu Down Down Down Return
exited() { ! kill -0 "$resheat_pid" 2>/dev/null; }
wait_until 10 "the program did not end after Exit" exited
wait "$resheat_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"

echo "PASS: every window at its place on every showing; the time column stays put; clean exit"
