#!/usr/bin/env bash
# Both installed manual pages render without a warning and name every
# option of their program's help.
. "$(dirname "$0")/common.sh"
need man man-db

install_to "$work/prefix"
for page in resheat resheat-calc; do
  file="$work/prefix/share/man/man1/$page.1.gz"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$work/$page.txt") ||
    fail "man cannot render $page.1"
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  grep -q "^NAME" "$work/$page.txt" || fail "$page.1 rendered without a NAME section"
  grep -q "$RESHEAT_VERSION" "$work/$page.txt" || fail "$page.1 does not carry version $RESHEAT_VERSION"
  # Every option the program's help names is described in its page.
  case $page in
    resheat) help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$RESHEAT_APP" --help) ;;
    resheat-calc) help=$("$RESHEAT_CALC" --help) ;;
  esac
  for option in $(grep -oE -- '--[a-z]+' <<<"$help" | sort -u); do
    grep -qF -- "$option" "$work/$page.txt" || fail "$page.1 does not describe $option"
  done
done
echo "man pages: both render without warnings"
