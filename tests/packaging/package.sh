#!/usr/bin/env bash
# The Debian package builds, holds exactly the files of an installation under
# /usr, carries the project's version and computed dependencies, and lintian
# (where installed) reports no error or warning.
. "$(dirname "$0")/common.sh"
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need file file

cpack -G DEB --config "$RESHEAT_BUILD_DIR/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G DEB"; }
deb=$(ls "$work"/package/resheat_*.deb)
[ "$(basename "$deb")" = "resheat_${RESHEAT_VERSION}_$(dpkg --print-architecture).deb" ] || fail "package name $deb"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | LC_ALL=C sort >"$work/package.txt"
diff -u <(expected_files) "$work/package.txt" || fail "the package files differ from installed-files.txt"

[ "$(dpkg-deb -f "$deb" Package)" = resheat ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$RESHEAT_VERSION" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
  grep -q "$lib (>=" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# No maintainer scripts: the system's triggers refresh the desktop and MIME data.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'postinst|postrm|preinst|prerm' && fail "maintainer scripts"

# The changelog's latest entry is this version.
mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
zcat "$work/root/usr/share/doc/resheat/changelog.gz" | head -1 | grep -qF "resheat ($RESHEAT_VERSION)" ||
  fail "the changelog does not start with version $RESHEAT_VERSION"

if command -v lintian >/dev/null 2>&1; then
  status=0
  lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || status=$?
  grep -v 'running with root privileges' "$work/lintian.txt" || true
  [ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
else
  echo "SKIPPED (part): lintian is not installed (Debian package lintian)"
fi
echo "package: $(basename "$deb") as expected"
