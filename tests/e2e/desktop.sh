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
# usage: desktop.sh RESHEAT SCREEN_PROBE EXAMPLES_DIR [FAILURES_DIR]
#
# Exit status: 0 passed, 1 failed, 77 skipped (no X server could be
# started).  It names each step as it goes; on a failure it says which step
# failed and keeps the logs and a screenshot in a new folder under
# FAILURES_DIR (when given, else in its temporary folder).  The display,
# the waits and the failure report are lib.sh's.
set -u

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: $0 RESHEAT SCREEN_PROBE EXAMPLES_DIR [FAILURES_DIR]" >&2
    exit 2
fi
resheat=$(readlink -f "$1") probe_program=$(readlink -f "$2") examples=$(readlink -f "$3") failures=${4:-}
readonly resheat probe_program examples failures
# shellcheck source=lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

e2e_start e2e
e2e_display
# Started in the folder of the cases, where the file dialog first opens, so
# that the name the dialog may write into its box is the case's own.
cd "$examples" || fail "no folder $examples"
e2e_program

# --- windows --------------------------------------------------------------

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
    local limit=$((SECONDS + WAIT_LIMIT))
    until [ "$(frame "$1")" = "$2" ]; do
        [ "$SECONDS" -ge "$limit" ] && fail "$3: frame at $(frame "$1"), expected $2"
        sleep 0.1
    done
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
    wait_until "window $1 did not close" hidden "$1"
    window "Resistance heating"
    expect_frame "$found" 10,10 "main window shown again"
}

# read_case KEY... FILE: a read command through its file dialog.
#
# The name goes in extension first: the dialog selects a file as soon as
# the text names one (adding the default extension), and while the toolkit
# has not yet taken the dialog for the active window it then writes that
# file's name over the box, where the rest of the typing would be added to
# it.  Typed from its end, the text names no file before its last key.
read_case() {
    local file=${*: -1} dialog
    menu "${@:1:$#-1}"
    window "Open"
    dialog=$found
    activate "$dialog"
    xdotool type --delay 5 ".${file##*.}"
    xdotool key Home
    xdotool type --delay 5 "${file%.*}"
    xdotool key Return
    wait_until "the file dialog did not close" hidden "$dialog"
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

# --- the scenario ----------------------------------------------------------

step "the main window at start-up"
park_pointer
window "Resistance heating"
expect_frame "$found" 10,10 "main window at start-up"

for round in first later; do
    for geometry in xy rz; do
        if [ $geometry = xy ]; then keys=(Right Down Return); else keys=(Right Down Down Return); fi
        step "open and cancel \"Data for $geometry geometry\" ($round time)"
        open_and_check "Data for $geometry geometry" 20,20 "${keys[@]}"
        id=$found
        activate "$id"
        xdotool key Escape
        back_to_main "$id"
    done
done

step "read steel-bar.dxy through the file dialog"
read_case Down Return "$examples/steel-bar.dxy"
step "read steel-rod.drz through the file dialog"
read_case Down Down Return "$examples/steel-rod.drz"

for round in first later; do
    step "calculate the xy case ($round time)"
    run_calculation "Calculations for xy geometry" menu Right Right Down Return
    step "calculate the rz case ($round time)"
    run_calculation "Calculations for rz geometry" menu Right Right Down Down Return
done

for round in first later; do
    # The text results windows close with their Close button.
    step "open and close \"Text results for xy\" ($round time)"
    open_and_check "Text results for xy" 20,20 Right Right Right Down Right Return
    id=$found
    click_at "$id" 347 445
    back_to_main "$id"
    step "open and close \"Text results for rz\" ($round time)"
    open_and_check "Text results for rz" 20,20 Right Right Right Down Down Right Return
    id=$found
    click_at "$id" 347 445
    back_to_main "$id"

    step "open and close \"Temperature for xy geometry\" ($round time)"
    open_and_check "Temperature for xy geometry" 20,20 Right Right Right Down Right Down Return
    id=$found
    if [ "$round" = first ]; then
        step "scroll the xy temperature table sideways"
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
        wait_until "the temperatures did not scroll sideways" scrolled
        park_pointer
        after_times=$(probe "${times[@]}" "$work/times-after.png")
        [ "$after_times" = "$before_times" ] || fail "the time column changed when the table was scrolled sideways"
    fi
    click_at "$id" 676 420
    back_to_main "$id"
    step "open and close \"Temperature for rz geometry\" ($round time)"
    open_and_check "Temperature for rz geometry" 20,20 Right Right Right Down Down Right Down Return
    id=$found
    click_at "$id" 676 420
    back_to_main "$id"
done

# "Classic formulas" in the Calculations menu: the next xy run takes them and
# its text results say so left of Close, where the series' leave the window
# blank; the choice is kept in the user's settings.  Switched off again.
for formulas in classic series; do
    step "switch to the $formulas formulas, calculate the xy case and read its text results"
    menu Right Right Down Down Down Return
    run_calculation "Calculations for xy geometry" menu Right Right Down Return
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

step "where every window was on every showing"
for geometry in xy rz; do
    expect_showings "Data for $geometry geometry" 20,20 2
    expect_showings "Calculations for $geometry geometry" 100,100 2
    expect_showings "Text results for $geometry" 20,20 2
    expect_showings "Temperature for $geometry geometry" 20,20 2
done
expect_showings "Resistance heating" 10,10 12

e2e_exit menu Down Down Down Return

echo "PASS: every window at its place on every showing; the time column stays put; clean exit"
