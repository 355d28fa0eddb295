#!/usr/bin/env bash
# An installation into a fresh prefix holds exactly the expected files, and
# the installed calculator gives on the installed example what the build's
# gives on the source example.
. "$(dirname "$0")/common.sh"

prefix="$work/prefix"
install_to "$prefix"
diff -u <(expected_files) <(files_below "$prefix") || fail "the installed files differ from installed-files.txt"

for ext in dxy drz; do
  name=$( [ $ext = dxy ] && echo steel-bar || echo steel-rod )
  "$RESHEAT_CALC" --json "$RESHEAT_SOURCE_DIR/examples/$name.$ext" >"$work/build.json"
  "$prefix/bin/resheat-calc" --json "$prefix/share/doc/resheat/examples/$name.$ext" >"$work/installed.json"
  [ -s "$work/build.json" ] || fail "no output for $name.$ext"
  cmp -s "$work/build.json" "$work/installed.json" || fail "installed resheat-calc differs on $name.$ext"
done

# The manual pages name the folder the examples went to.
zcat "$prefix/share/man/man1/resheat-calc.1.gz" | grep -qF "$prefix/share/doc/resheat/examples/" ||
  fail "resheat-calc.1 does not name the installed examples"
echo "install: $(expected_files | wc -l) files as expected, same results"
