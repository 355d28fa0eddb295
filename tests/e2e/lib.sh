# shellcheck shell=bash
# Shared by the end-to-end desktop scripts (sourced, not run): a virtual X
# display of the script's own under a real window manager (openbox), a log
# of its windows, waits on conditions with generous limits, named steps,
# and on a failure the step's name, a screenshot and the logs kept.
#
# The sourcing script sets, before calling e2e_start:
#   resheat, probe_program   the program and the screen probe (absolute)
#   failures                 where a failed run keeps its files ("" = keep
#                            them in the temporary folder)
# and then calls, in this order: e2e_start NAME, e2e_display, its scenario
# with `step WHAT` before each part, e2e_exit (the program's clean end).
#
# Every wait is for a condition, with WAIT_LIMIT seconds each and DEADLINE
# for the whole run: generous for a machine whose cores are all busy, so a
# window that never comes fails the test instead of hanging it.  Every
# process started is ended whatever happens.

readonly WAIT_LIMIT=120
readonly DEADLINE=$((SECONDS + 600))
readonly SKIP=77

pids=()
failed=0
step_number=0
step_name="start-up"

# step WHAT: the scenario moves on to WHAT, which a failure names.
step() {
    step_number=$((step_number + 1))
    step_name=$1
    echo "step $step_number: $step_name"
}

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

e2e_cleanup() {
    local kept
    stop_processes
    if [ "$failed" -eq 0 ]; then
        rm -rf "$work"
    elif [ -n "$failures" ] && mkdir -p "$failures" &&
        kept=$(mktemp -d "$failures/$(date +%Y%m%d-%H%M%S)-XXXXXX"); then
        rm -rf "$work/home" "$work/runtime"
        cp -r "$work"/. "$kept"/ && rm -rf "$work"
        echo "logs and screenshot kept in $kept" >&2
    else
        echo "logs and screenshot kept in $work" >&2
    fi
}

# probe X Y WIDTH HEIGHT [FILE.png]: a checksum of that part of the screen.
probe() { timeout "$WAIT_LIMIT" "$probe_program" "$@"; }

fail() {
    failed=1
    echo "FAIL in step $step_number ($step_name): $*" >&2
    echo "after $SECONDS s, on display ${DISPLAY:-(none yet)}" >&2
    local pid log
    for pid in "${pids[@]}"; do
        kill -0 "$pid" 2>/dev/null || echo "process $pid ($(ps -o args= -p "$pid" 2>/dev/null || echo gone)) has ended" >&2
    done
    [ -n "${DISPLAY:-}" ] && probe 0 0 1280 1024 "$work/screen.png" >/dev/null 2>&1
    for log in resheat openbox xvfb; do
        if [ -s "$work/$log.log" ]; then
            echo "--- $log output:" >&2
            tail -n 20 "$work/$log.log" >&2
        fi
    done
    exit 1
}

# wait_until WHAT COMMAND...: runs COMMAND until it succeeds; fails the
# test with WHAT when it has not within WAIT_LIMIT seconds or by the
# deadline.
wait_until() {
    local limit=$((SECONDS + WAIT_LIMIT)) what=$1
    shift
    [ "$limit" -gt "$DEADLINE" ] && limit=$DEADLINE
    until "$@"; do
        [ "$SECONDS" -ge "$limit" ] && fail "$what"
        sleep 0.1
    done
}

# e2e_start NAME: a temporary folder, the exit and signal handlers, the
# tools checked, and a home of the test's own whatever the calling
# environment says.
e2e_start() {
    unset DISPLAY WAYLAND_DISPLAY
    work=$(mktemp -d "${TMPDIR:-/tmp}/resheat-$1.XXXXXX") || exit 1
    trap e2e_cleanup EXIT
    trap 'failed=1; echo "FAIL: interrupted in step $step_number ($step_name)" >&2; exit 1' INT TERM HUP
    if ! command -v Xvfb >/dev/null; then
        echo "SKIP: the virtual X server (Xvfb) is not installed" >&2
        exit $SKIP
    fi
    local tool
    for tool in openbox xdotool xwininfo xprop xev; do
        command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
    done
    mkdir -m 700 "$work/home" "$work/runtime"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
        XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
}

# owns_display N PID: the X server PID is the only process with sockets
# under the local names of display N (the abstract one, which clients try
# first, and the file), so every client of display N talks to it.
owns_display() {
    local inodes names inode
    inodes=$(ls -l "/proc/$2/fd" 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\]$/\1/p')
    names=$(awk -v a="@/tmp/.X11-unix/X$1" -v f="/tmp/.X11-unix/X$1" '$8 == a || $8 == f {print $7}' /proc/net/unix)
    [ -n "$names" ] || return 1
    for inode in $names; do
        grep -qx "$inode" <<<"$inodes" || return 1
    done
}

# e2e_display: the X server, the window manager and the log of the display;
# sets DISPLAY and $root.
#
# Xvfb picks a free display itself and writes its number to fd 3.  On a
# machine shared with other X servers that number may already be served
# by one that keeps no lock file, so the new server must be the only one on
# it; otherwise it is kept aside (holding its number) and another started.
# Only an Xvfb that gives up makes the test skip; one that does not answer
# in time makes it fail.
e2e_display() {
    step "start the virtual X server"
    local display="" n xvfb_pid pid
    for _ in 1 2 3 4 5; do
        : >"$work/display"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
        xvfb_pid=$!
        pids+=("$xvfb_pid")
        until grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; do
            if ! kill -0 "$xvfb_pid" 2>/dev/null; then
                echo "SKIP: the virtual X server (Xvfb) could not be started:" >&2
                tail -n 5 "$work/xvfb.log" >&2
                exit $SKIP
            fi
            [ "$SECONDS" -ge "$DEADLINE" ] && fail "the virtual X server (Xvfb) did not report its display"
            sleep 0.1
        done
        # It reports the number once it listens.
        n=$(cat "$work/display")
        if owns_display "$n" "$xvfb_pid"; then
            display=$n
            break
        fi
        echo "display :$n is served by another X server as well; trying another" >&2
    done
    [ -n "$display" ] || fail "no display of its own after 5 X servers"
    export DISPLAY=":$display"
    # The servers kept aside are no longer needed.
    for pid in "${pids[@]}"; do
        [ "$pid" = "$xvfb_pid" ] || kill -TERM "$pid" 2>/dev/null
    done
    pids=("$xvfb_pid")

    step "start the window manager"
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_until "the window manager did not start" wm_running
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')

    # Every window of the display as it comes and goes, to see where each
    # frame was when it appeared, also for windows that are up only briefly.
    step "start the log of the display"
    xev -root -event substructure >"$work/xev.log" 2>&1 &
    pids+=($!)
    # Listening once it logs the windows a small client of our own creates.
    xev_listening() { probe 0 0 1 1 >/dev/null 2>&1 && grep -q '^CreateNotify' "$work/xev.log"; }
    wait_until "the log of the display did not start" xev_listening
    park_pointer
}

# e2e_program ARGUMENTS...: starts the program (in the current folder) and
# sets $resheat_pid.
e2e_program() {
    step "start the program"
    "$resheat" "$@" >"$work/resheat.log" 2>&1 &
    resheat_pid=$!
    pids+=("$resheat_pid")
}

# e2e_exit KEYS...: the keys (to the main window) end the program, at once
# and cleanly.
exited() { ! kill -0 "$resheat_pid" 2>/dev/null; }
e2e_exit() {
    step "Exit"
    "$@"
    wait_until "the program did not end after Exit" exited
    wait "$resheat_pid"
    local status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# --- windows --------------------------------------------------------------

# window TITLE: sets $found to the id of the visible window with exactly
# that title, once it is on the screen.
window() {
    local limit=$((SECONDS + WAIT_LIMIT))
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

# inside ID: sets $x and $y to the screen position of the window's inside.
inside() {
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
}

# activate ID: window ID becomes the active window.
activate() {
    timeout "$WAIT_LIMIT" xdotool windowactivate --sync "$1" >/dev/null 2>&1 || fail "could not activate window $1"
    wait_until "window $1 did not become active" active "$1"
}

# park_pointer: the pointer out of the way, in the screen's far corner,
# so that no menu opens under it and takes it for a choice.
park_pointer() { xdotool mousemove 1279 1023; }

# settled X Y W H: the screen there stays the same for a second.
settled() {
    local a b
    a=$(probe "$@") || return 1
    sleep 1
    b=$(probe "$@") || return 1
    [ "$a" = "$b" ]
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

# run_calculation TITLE COMMAND...: COMMAND (keys to a menu) starts a
# calculation, whose progress window TITLE is up for a moment only; waits
# until that window has come and gone.
run_calculation() {
    local title=$1 before
    shift
    before=$(showings "$title" | wc -l)
    "$@"
    ran() { [ "$(showings "$title" | wc -l)" -gt "$before" ]; }
    wait_until "\"$title\" did not come and go" ran
}
