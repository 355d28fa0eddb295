#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite headless.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
cd "$top"
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir build --output-on-failure -j "$(nproc)" || status=$?
# A check skipped for want of its tool says which one.
grep -h '^SKIPPED' build/Testing/Temporary/LastTest.log 2>/dev/null || true
# Two more builds of the programs, so only when asked for.
if [ "${RESHEAT_CHECK_REPRODUCIBLE:-0}" = 1 ]; then
  scripts/check-reproducible.sh || status=1
fi
exit $status
