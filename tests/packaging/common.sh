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

# Installs the build into $1 as `cmake --install --prefix` does.
install_to() {
  cmake --install "$RESHEAT_BUILD_DIR" --prefix "$1" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install into $1"; }
}

# The regular files below $1, as paths relative to it, sorted.
files_below() {
  (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort)
}

expected_files() {
  grep -v '^#' "$RESHEAT_SOURCE_DIR/tests/packaging/installed-files.txt" | LC_ALL=C sort
}
