#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: install the Debian packages the build
# needs when any is missing, then configure and build in build/.  Further
# package names on the command line are installed as well when missing
# (scripts/check-hardened.sh adds clang's).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

# What the build needs is what the Debian package's build needs: the
# Build-Depends of debian/control, and the compiler and tools every Debian
# package build presumes.
mapfile -t packages < <("$top/scripts/build-depends.sh" "$top/debian/control")
packages+=(build-essential)

# For developers only: the benchmarks, tests on a virtual display, PDF checks,
# and a locale source for the regional format tests.
packages+=(libbenchmark-dev xvfb xauth xdotool poppler-utils locales)
# The desktop end-to-end test runs the program under a window manager.
packages+=(openbox x11-utils)

# Checks of the installation and the Debian packages.
packages+=(desktop-file-utils appstream lintian man-db file shared-mime-info libglib2.0-bin libgtk-3-bin)

packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}"
fi

if [ ! -f build/CMakeCache.txt ]; then
  # A compiler cache, when the machine has one, makes rebuilds in fresh
  # checkouts quick; the build is the same without it.
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
fi
cmake --build build --parallel "$(nproc)"
