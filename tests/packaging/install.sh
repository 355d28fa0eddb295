#!/usr/bin/env bash
# An installation into a fresh prefix holds exactly the expected files with
# their modes; the installed calculator gives on every installed example what
# the build's gives on the source example, and reads the installed property
# tables as the built-in ones; the manual pages and the launcher name the
# installed paths.
. "$(dirname "$0")/common.sh"
need man man-db

prefix="$work/prefix"
install_to "$prefix"
diff -u <(expected_files) <(installed_files_below "$prefix") || fail "the installed files differ from installed-files.txt"
odd=$(odd_folders_below "$prefix")
[ -z "$odd" ] || fail "folders not 755: $odd"

# The same bytes as in the source: the examples, the tables, the B-H curve,
# the guide.
for pair in "examples:share/doc/resheat/examples" "data/materials:share/resheat/materials" \
            "data/magnetic/steel.csv:share/resheat/magnetic/steel.csv" "doc/user-guide.md:share/doc/resheat/user-guide.md"; do
  diff -r "$RESHEAT_SOURCE_DIR/${pair%%:*}" "$prefix/${pair#*:}" >/dev/null || fail "${pair#*:} differs from ${pair%%:*}"
done

for example in "$RESHEAT_SOURCE_DIR"/examples/*; do
  name=$(basename "$example")
  "$RESHEAT_CALC" --json "$example" >"$work/build.json" || true
  "$prefix/bin/resheat-calc" --json "$prefix/share/doc/resheat/examples/$name" >"$work/installed.json" || true
  grep -q '"results"' "$work/build.json" || fail "no results for $name"
  cmp -s "$work/build.json" "$work/installed.json" || fail "installed resheat-calc differs on $name"
done

# The sample steel table gives what the built-in one gives (the JSON names
# the table it used; the rest must be the same).
rod="$prefix/share/doc/resheat/examples/steel-rod.drz"
"$prefix/bin/resheat-calc" --refined --json "$rod" | sed 's/"properties": "[^"]*", //' >"$work/builtin.json"
"$prefix/bin/resheat-calc" --refined --json --materials "$prefix/share/resheat/materials/steel.csv" "$rod" |
  sed 's/"properties": "[^"]*", //' >"$work/sample.json"
grep -q '"heating_time_s": [0-9]' "$work/builtin.json" || fail "no refined results for steel-rod.drz"
cmp -s "$work/builtin.json" "$work/sample.json" || fail "the installed steel.csv does not give the built-in table's results"

# The manual pages name the installed folders and the guide, as a reader
# sees them.
for page in resheat resheat-calc; do
  render_man_page "$prefix/share/man/man1/$page.1.gz" >"$work/$page.txt" 2>&1 || fail "man cannot render $page.1"
  for path in "$prefix/share/doc/resheat/examples/" "$prefix/share/resheat/materials/" \
              "$prefix/share/doc/resheat/user-guide.md"; do
    grep -qF "$path" "$work/$page.txt" || fail "$page.1 does not name $path"
  done
done
grep -qF "cp $prefix/share/resheat/materials/steel.csv my-steel.csv" "$work/resheat-calc.txt" ||
  fail "resheat-calc.1 lacks the example with the sample table"

# Outside /usr the launcher starts the installed program by its full path.
entry="$prefix/share/applications/resheat.desktop"
grep -qxF "Exec=$prefix/bin/resheat %f" "$entry" || fail "launcher: $(grep '^Exec=' "$entry")"
grep -qxF "TryExec=$prefix/bin/resheat" "$entry" || fail "launcher: $(grep '^TryExec=' "$entry")"
echo "install: $(expected_files | wc -l) files as expected, same results"
