# Shared by the installation checks.  CTest passes RESHEAT_SOURCE_DIR,
# RESHEAT_BUILD_DIR, RESHEAT_VERSION and the built programs RESHEAT_APP and
# RESHEAT_CALC.  A check whose tool is missing says so in one line and exits
# 77, which CTest reports as skipped.
set -euo pipefail

need() { # TOOL DEBIAN-PACKAGE
  if ! command -v "$1" >/dev/null 2>&1; then
    echo "SKIPPED: $1 is not installed (Debian package $2)"
    exit 77
  fi
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/resheat-packaging.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Installs the build into $1 as `cmake --install --prefix` does; further
# arguments go to cmake --install.
install_to() {
  local prefix=$1
  shift
  cmake --install "$RESHEAT_BUILD_DIR" --prefix "$prefix" "$@" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install into $prefix"; }
}

# The regular files below $1 as "MODE PATH", paths relative to $1, sorted.
files_below() {
  (cd "$1" && find . -type f -printf '%m %P\n' | LC_ALL=C sort -k2)
}

# files_below without the MIME and desktop databases that an installation
# outside /usr refreshes.
installed_files_below() {
  files_below "$1" | awk '!($2 ~ /^share\/mime\// && $2 !~ /^share\/mime\/packages\//) &&
                          $2 != "share/applications/mimeinfo.cache"'
}

# The folders below $1 whose mode is not 755, as "MODE PATH".
odd_folders_below() {
  (cd "$1" && find . -mindepth 1 -type d ! -perm 755 -printf '%m %P\n')
}

# What an installation must hold, as files_below gives it.
expected_files() {
  {
    grep -v '^#' "$RESHEAT_SOURCE_DIR/tests/packaging/installed-files.txt"
    (cd "$RESHEAT_SOURCE_DIR/examples" && find . -type f -printf '644 share/doc/resheat/examples/%P\n')
    (cd "$RESHEAT_SOURCE_DIR/data/materials" && find . -name '*.csv' -printf '644 share/resheat/materials/%P\n')
    (cd "$RESHEAT_SOURCE_DIR/data/magnetic" && find . -name '*.csv' ! -name magnetisation.csv -printf '644 share/resheat/magnetic/%P\n')
  } | LC_ALL=C sort -k2
}

# A manual page as a reader sees it, on one wide terminal.
render_man_page() {
  LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -l "$1"
}

# The entries of the Debian package $1 as "TYPE MODE OWNER PATH": the type
# as tar lists it (- file, d folder), the mode in octal, the path without
# the leading ./, sorted by path.
package_entries() {
  dpkg-deb --fsys-tarfile "$1" | tar -tv --numeric-owner | awk '
    { mode = 0
      for (i = 2; i <= 10; i++) mode = mode * 2 + (substr($1, i, 1) != "-")
      path = $6; sub(/^\.\//, "", path); sub(/\/$/, "", path)
      if (path != "") printf "%s %o %s %s\n", substr($1, 1, 1), mode, $2, path }' | LC_ALL=C sort -k4
}

# Runs lintian on the given files: no error or warning, and none of the
# hardening tags, which are only informational.
lintian_clean() {
  local status=0
  lintian -I --fail-on error,warning "$@" >"$work/lintian.txt" 2>&1 || status=$?
  grep -v 'running with root privileges' "$work/lintian.txt" || true
  [ "$status" -eq 0 ] || fail "lintian reports errors or warnings on $*"
  [ "${lintian_hardening:-check}" = skip ] || ! grep -q 'hardening-' "$work/lintian.txt" ||
    fail "lintian: the programs are not hardened"
}

# Whether this build is one that is hardened: Release and RelWithDebInfo,
# unless configured with RESHEAT_HARDENING=OFF.
hardened_build() {
  case "${RESHEAT_BUILD_TYPE:-}" in
    Release | RelWithDebInfo) ;;
    *) return 1 ;;
  esac
  ! grep -q '^RESHEAT_HARDENING:BOOL=OFF' "$RESHEAT_BUILD_DIR/CMakeCache.txt"
}
