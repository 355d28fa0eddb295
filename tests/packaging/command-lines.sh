#!/usr/bin/env bash
# --help and --version answer on stdout with status 0 and without a display;
# an unknown option gives the usage on stderr and status 64.
. "$(dirname "$0")/common.sh"

app="$RESHEAT_APP"
calc="$RESHEAT_CALC"
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

check() { # EXPECTED-STATUS STDOUT-PATTERN STDERR-PATTERN COMMAND...
  local status=0 want=$1 out=$2 err=$3
  shift 3
  headless "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$want" ] || fail "$*: status $status, expected $want"
  if [ -n "$out" ]; then grep -qE -- "$out" "$work/out" || fail "$*: stdout lacks '$out'"; else [ ! -s "$work/out" ] || fail "$*: unexpected stdout"; fi
  if [ -n "$err" ]; then grep -qE -- "$err" "$work/err" || fail "$*: stderr lacks '$err'"; else [ ! -s "$work/err" ] || fail "$*: unexpected stderr"; fi
}

v=${RESHEAT_VERSION//./\\.}
for program in "$app" "$calc"; do
  check 0 "^usage: $(basename "$program") " "" "$program" --help
  check 0 "^usage: " "" "$program" -h
  check 0 "^$(basename "$program") \(ResHeat\) $v\$" "" "$program" --version
  check 64 "" "unknown option --frobnicate" "$program" --frobnicate
  check 64 "" "^usage: " "$program" --frobnicate
done
# A file that is no case starts the program, which says so (here, without
# a display, on stderr before it stops for want of one).
check 1 "" "Cannot tell the geometry of notes.txt" "$app" notes.txt
# Past the command line the program needs a display, and says so.
check 1 "" "no display" "$app" "$RESHEAT_SOURCE_DIR/examples/steel-bar.dxy"
echo "command lines: as expected"
