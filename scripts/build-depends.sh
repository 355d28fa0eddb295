#!/usr/bin/env bash
# Prints the Debian packages that the Build-Depends fields (also -Arch and
# -Indep) of a debian/control file name, one a line: of alternatives the
# first, without versions, architecture or profile restrictions (a
# development machine builds and tests everything), debhelper for
# debhelper-compat.  scripts/setup.sh installs these, so that a developer's
# build and the package build need the same packages.
#
#   scripts/build-depends.sh [CONTROL]   (default: debian/control)
set -euo pipefail
control=${1:-$(dirname "${BASH_SOURCE[0]}")/../debian/control}
awk '
  /^#/ { next }
  /^[ \t]*$/ { take = 0; next }
  /^[^ \t]/ {
    field = tolower($0); sub(/:.*/, "", field)
    take = field ~ /^build-depends(-arch|-indep)?$/
    sub(/^[^:]*:/, "")
  }
  take { print }
' "$control" | tr ',' '\n' | sed -e 's/|.*//' -e 's/([^)]*)//g; s/\[[^]]*\]//g; s/<[^>]*>//g' \
  -e 's/:[a-z0-9-]*//' -e 's/[[:space:]]//g' -e 's/^debhelper-compat$/debhelper/' | awk 'NF && !seen[$0]++'
