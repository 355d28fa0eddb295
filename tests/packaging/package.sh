#!/usr/bin/env bash
# The CPack package builds, holds exactly the files of an installation under
# /usr with their modes, owned by root, carries the fields of debian/control
# and computed dependencies, is the same byte for byte when built again later
# in another folder, and lintian (where installed)
# reports no error or warning.
. "$(dirname "$0")/common.sh"
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need file file

build_package() { # FOLDER
  cpack -G DEB --config "$RESHEAT_BUILD_DIR/CPackConfig.cmake" -B "$1" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
}
(umask 022 && build_package "$work/package")
deb=$(ls "$work"/package/resheat_*.deb)
[ "$(basename "$deb")" = "resheat_${RESHEAT_VERSION}_$(dpkg --print-architecture).deb" ] || fail "package name $deb"

package_entries "$deb" >"$work/entries.txt"
! awk '$3 != "0/0" || ($1 == "d" && $2 != 755)' "$work/entries.txt" | grep . ||
  fail "entries not owned by root, or folders not 755"
# In /usr the user guide is compressed and the lintian overrides go with the
# files.
diff -u <({ expected_files | sed 's|/user-guide\.md$|&.gz|'; echo "644 share/lintian/overrides/resheat"; } |
          LC_ALL=C sort -k2) <(awk '$1 == "-" { sub(/^usr\//, "", $4); print $2, $4 }' "$work/entries.txt") ||
  fail "the package files differ from installed-files.txt"

# The fields debian/control gives the binary package.
control="$RESHEAT_SOURCE_DIR/debian/control"
field() { # NAME: the field of the binary paragraph of debian/control, continuation lines kept
  awk -v f="$1" '/^Package:/ { bin = 1 } bin && $0 ~ "^" f ":" { sub("^" f ": *", ""); print; take = 1; next }
                 take && /^[ \t]/ { print; next } { take = 0 }' "$control"
}
for name in Package Architecture Recommends Suggests Description; do
  want=$(field "$name")
  [ "$name" = Architecture ] && want=$(dpkg --print-architecture)
  [ "$(dpkg-deb -f "$deb" "$name")" = "$want" ] || fail "$name: '$(dpkg-deb -f "$deb" "$name")', expected '$want'"
done
for name in Section Priority Maintainer Homepage; do
  want=$(awk -v n="$name" 'index($0, n ": ") == 1 { print substr($0, length(n) + 3); exit }' "$control")
  [ "$(dpkg-deb -f "$deb" "$name")" = "$want" ] || fail "$name: '$(dpkg-deb -f "$deb" "$name")', expected '$want'"
done
[ "$(dpkg-deb -f "$deb" Suggests)" = xvfb ] || fail "Suggests: $(dpkg-deb -f "$deb" Suggests)"
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
zcat "$work/root/usr/share/doc/resheat/changelog.gz" | sed -n 1p | grep -F "resheat ($RESHEAT_VERSION)" >/dev/null ||
  fail "the changelog does not start with version $RESHEAT_VERSION"
zcat "$work/root/usr/share/doc/resheat/user-guide.md.gz" | cmp -s - "$RESHEAT_SOURCE_DIR/doc/user-guide.md" ||
  fail "the packaged user guide differs from doc/user-guide.md"
zcat "$work/root/usr/share/man/man1/resheat.1.gz" | grep -F '/usr/share/doc/resheat/user\-guide.md.gz' >/dev/null ||
  fail "resheat.1 does not name the packaged user guide"
# In /usr the launcher starts the program by its name.
grep -qxF "Exec=resheat %f" "$work/root/usr/share/applications/resheat.desktop" || fail "launcher in /usr"

# Every file time is the time of the last commit.
if git -C "$RESHEAT_SOURCE_DIR" rev-parse --show-toplevel 2>/dev/null | grep -xF "$RESHEAT_SOURCE_DIR" >/dev/null; then
  epoch=$(git -C "$RESHEAT_SOURCE_DIR" log -1 --format=%ct)
  stamps=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time | awk '{ print $4 " " $5 }' | sort -u)
  [ "$stamps" = "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" ] || fail "file times in the package: $stamps"
fi
# Built again, later, elsewhere: the same bytes.  (CPack gives the package's
# three ar members the modes the umask gives; both builds use Debian's 022.)
sleep 1
(umask 022 && build_package "$work/again")
cmp "$deb" "$work/again/$(basename "$deb")" || fail "a second build of the package differs"

if command -v lintian >/dev/null 2>&1; then
  # A debugging or sanitizer build packs programs that are not hardened.
  hardened_build || lintian_hardening=skip
  lintian_clean "$deb"
else
  echo "SKIPPED (part): lintian is not installed (Debian package lintian)"
fi
echo "package: $(basename "$deb") as expected"
