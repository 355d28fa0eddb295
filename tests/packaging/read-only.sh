#!/usr/bin/env bash
# Installing from a build folder that may not be written succeeds and gives
# every file: the folder is mounted read-only in a mount namespace of this
# test's own, so that other tests using the folder meanwhile see it as it is.
# The installation's temporary files go and leave nothing behind.
. "$(dirname "$0")/common.sh"
need unshare util-linux

if [ "$(id -u)" -eq 0 ]; then
  namespace=(unshare --mount --propagation private)
else
  namespace=(unshare --user --map-root-user --mount --propagation private)
fi
if ! "${namespace[@]}" mount --bind "$work" "$work" 2>/dev/null; then
  echo "SKIPPED: no mount namespace of our own can be made here (unshare)"
  exit 77
fi

mkdir "$work/tmp"
status=0
TMPDIR="$work/tmp" "${namespace[@]}" bash -c '
  set -e
  build=$1 prefix=$2
  mount --bind "$build" "$build"
  mount -o remount,bind,ro "$build"
  if touch "$build/packaging/write-probe" 2>/dev/null; then
    echo "the build folder could be written"
    exit 2
  fi
  cmake --install "$build" --prefix "$prefix"
' _ "$RESHEAT_BUILD_DIR" "$work/prefix" >"$work/install.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/install.log"; fail "cmake --install from a read-only build folder: status $status"; }

diff -u <(expected_files) <(installed_files_below "$work/prefix") || fail "the installed files differ from installed-files.txt"
grep -q "Not writing install_manifest.txt" "$work/install.log" || fail "no word on the install manifest left out"
leftover=$(ls -A "$work/tmp")
[ -z "$leftover" ] || fail "the installation left temporary files: $leftover"
echo "read-only build folder: $(expected_files | wc -l) files installed"
