#!/usr/bin/env bash
# An installation for one user, as the README shows it (cmake --install
# --prefix ~/.local --strip), into a home folder whose name holds a blank:
# the programs are stripped, the user's MIME database knows the case files
# and the desktop database names the launcher for them, the launcher starts
# the installed program by its full path with the file (under Xvfb, as a
# file manager does, with a PATH without ~/.local/bin), and an installation
# into a staging folder (DESTDIR) leaves the databases alone.
. "$(dirname "$0")/common.sh"
need readelf binutils
need gio libglib2.0-bin
need update-mime-database shared-mime-info
need update-desktop-database desktop-file-utils
need desktop-file-validate desktop-file-utils
need gtk-launch libgtk-3-bin
need Xvfb xvfb
need xwininfo x11-utils

home="$work/home of a user"
mkdir -p "$home"
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
       XDG_CACHE_HOME="$home/.cache" XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_CONFIG_DIRS=/etc/xdg
prefix="$HOME/.local"
install_to "$prefix" --strip

for program in resheat resheat-calc; do
  readelf -SW "$prefix/bin/$program" | grep -E ' \.(symtab|debug_info|comment) ' >/dev/null &&
    fail "$program is installed with symbols, debug information or compiler notes"
done

# The case files' types, as a file manager asks for them (the extension in
# any letter case).
examples="$prefix/share/doc/resheat/examples"
cp "$examples/steel-bar.dxy" "$work/CASE.DXY"
while read -r type file; do
  got=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
  [ "$got" = "$type" ] || fail "type of $file: '$got', expected $type"
done <<EOF
application/x-resheat-case-xy $examples/steel-bar.dxy
application/x-resheat-case-rz $examples/steel-rod.drz
application/x-resheat-case-xy $work/CASE.DXY
EOF
for type in application/x-resheat-case-xy application/x-resheat-case-rz; do
  gio mime "$type" | grep -F "resheat.desktop" >/dev/null || fail "no application for $type: $(gio mime "$type")"
done

entry="$XDG_DATA_HOME/applications/resheat.desktop"
desktop-file-validate "$entry" >"$work/validate.txt" 2>&1 || { cat "$work/validate.txt"; fail "desktop-file-validate"; }
! grep -E 'error:|warning:' "$work/validate.txt" || fail "desktop-file-validate complains about the installed launcher"
grep -qxF "Exec=\"$prefix/bin/resheat\" %f" "$entry" || fail "launcher: $(grep '^Exec=' "$entry")"
grep -qxF "TryExec=$prefix/bin/resheat" "$entry" || fail "launcher: $(grep '^TryExec=' "$entry")"

# The launcher started as a file manager starts it, on a display of its own.
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do
  grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
  kill -0 "${pids[0]}" 2>/dev/null || { echo "SKIPPED: Xvfb could not be started"; exit 77; }
  sleep 0.1
done
display=":$(cat "$work/display")"
[ "$display" != ":" ] || fail "Xvfb did not report its display"

env -i HOME="$HOME" XDG_DATA_HOME="$XDG_DATA_HOME" XDG_DATA_DIRS="$XDG_DATA_DIRS" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" \
    XDG_CACHE_HOME="$XDG_CACHE_HOME" PATH=/usr/bin:/bin DISPLAY="$display" \
    gtk-launch resheat "$examples/steel-rod.drz" >"$work/launch.log" 2>&1 ||
  { cat "$work/launch.log"; fail "gtk-launch resheat"; }
started() {
  local exe
  for proc in /proc/[0-9]*; do
    exe=$(readlink "$proc/exe" 2>/dev/null) || continue
    [ "$exe" = "$prefix/bin/resheat" ] && { pid=${proc#/proc/}; return 0; }
  done
  return 1
}
pid=""
for _ in $(seq 100); do started && break; sleep 0.1; done
[ -n "$pid" ] || fail "the launcher did not start $prefix/bin/resheat"
pids+=("$pid")
mapfile -d '' argv <"/proc/$pid/cmdline"
[ ${#argv[@]} -eq 2 ] && [ "${argv[1]}" = "$examples/steel-rod.drz" ] || fail "started with: ${argv[*]}"
for _ in $(seq 200); do
  xwininfo -display "$display" -root -tree 2>/dev/null | grep -F '"Resistance heating"' >/dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "resheat ended before showing its window"
  sleep 0.1
done
xwininfo -display "$display" -root -tree | grep -F '"Resistance heating"' >/dev/null || fail "no main window on the display"

# Into a staging folder: the same files, no database refreshed there.
DESTDIR="$work/stage" install_to "$prefix"
for db in "$prefix/share/mime/mime.cache" "$prefix/share/applications/mimeinfo.cache"; do
  [ -e "$work/stage$db" ] && fail "installing with DESTDIR wrote $db"
done
echo "per-user install: file types known, launcher starts $prefix/bin/resheat with the case"
