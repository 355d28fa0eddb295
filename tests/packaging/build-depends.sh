#!/usr/bin/env bash
# scripts/build-depends.sh, from which scripts/setup.sh installs the build's
# packages, reads what dpkg's own parser reads in debian/control, and copes
# with the forms a Build-Depends field may take.
. "$(dirname "$0")/common.sh"
need perl perl

script="$RESHEAT_SOURCE_DIR/scripts/build-depends.sh"
control="$RESHEAT_SOURCE_DIR/debian/control"

# dpkg's reading of the project's control file: the first of alternatives,
# debhelper-compat being debhelper's.
if perl -MDpkg::Deps -e 1 2>/dev/null; then
  perl -MDpkg::Control::Info -MDpkg::Deps -e '
    my $src = Dpkg::Control::Info->new($ARGV[0])->get_source;
    for my $f (qw(Build-Depends Build-Depends-Arch Build-Depends-Indep)) {
      next unless $src->{$f};
      for my $d (deps_parse($src->{$f}, build_dep => 1)->get_deps) {
        $d = ($d->get_deps)[0] if $d->isa("Dpkg::Deps::OR");
        print $d->{package} eq "debhelper-compat" ? "debhelper" : $d->{package}, "\n";
      }
    }' "$control" >"$work/dpkg.txt"
  [ -s "$work/dpkg.txt" ] || fail "dpkg reads no Build-Depends in debian/control"
  diff -u "$work/dpkg.txt" <("$script" "$control") || fail "build-depends.sh reads debian/control otherwise than dpkg"
else
  echo "SKIPPED (part): dpkg's Perl modules are not installed (Debian package libdpkg-perl)"
fi

# CONTROL TEXT (\n for new lines) => EXPECTED PACKAGES
while read -r row; do
  text=${row%% => *} expected=${row#* => }
  printf '%b\n' "$text" >"$work/control"
  got=$("$script" "$work/control" | tr '\n' ' ' | sed 's/ $//')
  [ "$got" = "$expected" ] || fail "for '$text': '$got', expected '$expected'"
done <<'EOF'
Source: a\nBuild-Depends: debhelper-compat (= 13), cmake (>= 3.20) => debhelper cmake
Source: a\nBuild-Depends: one,\n               two (>= 1) <!nocheck>,\n three <!nocheck> <cross>,\n\nPackage: a\nDepends: four => one two three
Source: a\nBuild-Depends: first [amd64] | second, third:native (>= 1), fourth:any => first third fourth
Source: a\nBuild-Depends-Indep: indep\nBuild-Depends-Arch: arch\nBuild-Conflicts: conflict\nBuild-Depends: both, indep => indep arch both
Source: a\n# Build-Depends: commented\nMaintainer: x\n x-continued\nBuild-Depends:\n# a note\n lib-a,\n libb2.0-dev => lib-a libb2.0-dev
EOF
echo "build-depends: as dpkg reads it"
