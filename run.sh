#!/usr/bin/env bash
# Installs what is missing, builds, and starts ResHeat.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
cd "$top"

if [ -x build/app/resheat ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "resheat: no display found; start it under a virtual one, e.g. xvfb-run ./run.sh" >&2
    exit 1
  fi
  exec build/app/resheat "$@"
fi
exec build/cli/resheat-calc "${@:-examples/steel-bar.dxy}"
