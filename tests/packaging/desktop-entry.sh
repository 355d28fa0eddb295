#!/usr/bin/env bash
# The launcher passes desktop-file-validate and names what it must.
. "$(dirname "$0")/common.sh"
need desktop-file-validate desktop-file-utils

entry="$RESHEAT_SOURCE_DIR/packaging/resheat.desktop"
desktop-file-validate "$entry" >"$work/out" 2>&1 || { cat "$work/out"; fail "desktop-file-validate"; }
# Hints (several main categories, as wanted) are fine; errors and warnings are not.
! grep -E 'error:|warning:' "$work/out" || fail "desktop-file-validate complains"
for line in 'Name=ResHeat' 'Exec=resheat %f' 'Icon=resheat' 'Categories=Education;Engineering;Science;' \
            'MimeType=application/x-resheat-case-xy;application/x-resheat-case-rz;'; do
  grep -qxF "$line" "$entry" || fail "resheat.desktop lacks $line"
done
# The case types it opens are the ones the MIME file defines.
for type in application/x-resheat-case-xy application/x-resheat-case-rz; do
  grep -qF "type=\"$type\"" "$RESHEAT_SOURCE_DIR/packaging/resheat-mime.xml" || fail "no MIME type $type"
done
echo "desktop entry: valid"
