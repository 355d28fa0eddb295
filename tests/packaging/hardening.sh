#!/usr/bin/env bash
# Release and RelWithDebInfo builds are hardened as Debian's packages are:
# both programs are position-independent, bind every symbol at start behind
# read-only relocations, check the stack and call the fortified library
# functions.
. "$(dirname "$0")/common.sh"
need readelf binutils
hardened_build ||
  { echo "SKIPPED: a ${RESHEAT_BUILD_TYPE:-plain} build, or RESHEAT_HARDENING=OFF, is not hardened"; exit 77; }

# PROGRAMS => WHAT => READELF OPTIONS => EXTENDED PATTERN ITS OUTPUT HOLDS.
# Only resheat makes calls that the compiler cannot prove safe, so only it
# calls fortified functions (resheat-calc's lintian override says so).
while read -r row; do
  IFS='|' read -r programs what options pattern <<<"${row// => /|}"
  for program in $programs; do
    binary=$RESHEAT_APP
    [ "$program" = resheat-calc ] && binary=$RESHEAT_CALC
    # shellcheck disable=SC2086
    out=$(readelf -W $options "$binary") || fail "readelf $options $binary"
    grep -qE -- "$pattern" <<<"$out" || fail "$program: $what"
  done
done <<'EOF'
resheat resheat-calc => position-independent executable => -h => Type: +DYN
resheat resheat-calc => position-independent executable => -d => FLAGS_1.*PIE
resheat resheat-calc => read-only relocations => -l => GNU_RELRO
resheat resheat-calc => bound at start => -d => \(FLAGS\).*BIND_NOW|FLAGS_1.* NOW
resheat resheat-calc => stack protector => --dyn-syms => __stack_chk_fail
resheat => fortified library functions => --dyn-syms => __[a-z0-9_]+_chk@
EOF
echo "hardening: both programs"
