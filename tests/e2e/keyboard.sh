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
# usage: keyboard.sh RESHEAT SCREEN_PROBE EXAMPLES_DIR [FAILURES_DIR]
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

e2e_start keys
e2e_display
# The worked bar, read at start as a file manager would open it.
e2e_program "$examples/steel-bar.dxy"

# --- windows --------------------------------------------------------------

# keys ID KEY...: the keys to window ID, once it is the active window.
keys() {
    local id=$1
    shift
    activate "$id"
    xdotool key --delay 60 "$@"
}

# closes_with ID KEY...: the keys make window ID go and the main window
# come back.
closes_with() {
    local id=$1
    shift
    keys "$id" "$@"
    wait_until "the keys $* did not close the window" hidden "$id"
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
    wait_until "the comparison did not end" settled "$x" $((y + 40)) 1000 600
}

# The cycle, from the emissivity box where the keyboard starts: the
# frequency, the loop reactance, Load property table, Calculate, the table,
# the notes, Print, Close (the Rac/Rdc box waits, disabled, for alternating
# current).
step "Compare: eight Tab to Close"
open_compare
closes_with "$id" Tab Tab Tab Tab Tab Tab Tab Tab space
step "Compare: nine Tab back to the start, one Shift+Tab to Close"
open_compare
closes_with "$id" Tab Tab Tab Tab Tab Tab Tab Tab Tab shift+Tab space
step "Compare: Shift+Tab from the start to Close"
open_compare
closes_with "$id" shift+Tab space

# The keyboard starts in the emissivity box: a letter typed there is
# refused when Tab leaves the box.
step "Compare: the keyboard starts in the emissivity box"
open_compare
keys "$id" x Tab
window "Input Error"
box=$found
keys "$box" Return
wait_until "the message did not go" hidden "$box"
step "Compare: Alt+C closes"
closes_with "$id" alt+c

# --- the graphic results ---------------------------------------------------

readonly graphic="Temperature for xy geometry"
step "Calculations by Alt letters"
run_calculation "Calculations for xy geometry" menu_alt alt+c x
open_graphic() {
    menu_alt alt+r x g
    window "$graphic"
    id=$found
    inside "$id"
    chart=($((x + 16)) $((y + 24)) 441 369)
    wait_until "the chart did not settle" settled "${chart[@]}"
}

# The keyboard starts at the point choice: Down picks Tw, Up To again.
step "graphic results: the keyboard starts at the point choice"
open_graphic
before=$(probe "${chart[@]}")
keys "$id" Down
changed() { [ "$(probe "${chart[@]}")" != "$before" ]; }
wait_until "Down did not change the chart" changed
keys "$id" Up
same() { [ "$(probe "${chart[@]}")" = "$before" ]; }
wait_until "Up did not bring To back" same

# The cycle: the point choice, Print, Close, the table.  Two Tab reach
# Close; six (a cycle and two) too, so Tab left the table.
step "graphic results: two Tab to Close"
closes_with "$id" Tab Tab space
step "graphic results: a cycle and two Tab to Close"
open_graphic
closes_with "$id" Tab Tab Tab Tab Tab Tab space
step "graphic results: two Shift+Tab from the start to Close"
open_graphic
closes_with "$id" shift+Tab shift+Tab space

# --- the end --------------------------------------------------------------

e2e_exit menu_alt alt+f e

echo "PASS: menus by Alt letters; Tab cycles of the Compare window and the graphic results in both directions; the keyboard's start in each; a refused value; clean exit"
