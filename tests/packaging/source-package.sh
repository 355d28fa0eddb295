#!/usr/bin/env bash
# The Debian source package: in a clean copy of the source (the files git
# tracks or would add, as they are now), dpkg-source builds the source
# package and dpkg-buildpackage -us -uc -b the binary one, without the test
# suites (nocheck; ./test.sh runs them); lintian finds no error or warning
# on either, and the binary package holds the same entries, with the same
# modes and owners, and the same fields and libraries as the CPack package.
. "$(dirname "$0")/common.sh"
need git git
need dpkg-buildpackage dpkg-dev
need dh debhelper
need lintian lintian
if ! git -C "$RESHEAT_SOURCE_DIR" rev-parse --show-toplevel 2>/dev/null | grep -xF "$RESHEAT_SOURCE_DIR" >/dev/null; then
  echo "SKIPPED: the source is not a git checkout, so a clean copy cannot be told"
  exit 77
fi

src="$work/resheat"
mkdir "$src"
(cd "$RESHEAT_SOURCE_DIR" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$src"
[ -x "$src/debian/rules" ] || fail "the clean copy has no executable debian/rules"

(cd "$work" && dpkg-source -b resheat) >"$work/source.log" 2>&1 || { cat "$work/source.log"; fail "dpkg-source -b"; }

# The compiler cache, when there is one, serves copies in any folder.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$src"
fi
(cd "$src" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" DEB_BUILD_PROFILES=nocheck \
   dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log"; fail "dpkg-buildpackage -us -uc -b"; }

arch=$(dpkg --print-architecture)
deb="$work/resheat_${RESHEAT_VERSION}_$arch.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"
lintian_clean "$work/resheat_$RESHEAT_VERSION.dsc" "$work/resheat_${RESHEAT_VERSION}_$arch.changes"

cpack -G DEB --config "$RESHEAT_BUILD_DIR/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G DEB"; }
cpack_deb="$work/cpack/$(basename "$deb")"
diff -u <(package_entries "$cpack_deb") <(package_entries "$deb") ||
  fail "the package of dpkg-buildpackage holds other entries than CPack's"
for name in Package Version Architecture Maintainer Section Priority Homepage Recommends Suggests Description; do
  [ "$(dpkg-deb -f "$deb" "$name")" = "$(dpkg-deb -f "$cpack_deb" "$name")" ] ||
    fail "$name differs: '$(dpkg-deb -f "$deb" "$name")' from dpkg-buildpackage, '$(dpkg-deb -f "$cpack_deb" "$name")' from CPack"
done
# The same libraries; the least versions follow the symbols each build's
# compiler flags happen to use.
libraries() { dpkg-deb -f "$1" Depends | tr ',' '\n' | sed 's/(.*//; s/[[:space:]]//g' | sort; }
# A debugging or sanitizer build links libraries of its own, so only a
# release build's package is compared.
if [ "${RESHEAT_BUILD_TYPE:-}" = Release ] || [ "${RESHEAT_BUILD_TYPE:-}" = RelWithDebInfo ]; then
  diff -u <(libraries "$cpack_deb") <(libraries "$deb") || fail "the packages depend on other libraries"
fi
echo "source package: builds, lintian clean, same entries as CPack's"
