#!/usr/bin/env bash
# The reproducible-build check: builds the last commit twice, from two clones
# in folders of different names, one after the other (so at two times, with
# other file times) and under different umasks (022 for CPack), without the
# compiler cache, then checks that both programs and the CPack package are
# the same byte for byte.  SOURCE_DATE_EPOCH is not given: the build takes it
# from the commit.  Takes two builds of the programs (some minutes on two
# cores).
#
#   scripts/check-reproducible.sh     (RESHEAT_CHECK_REPRODUCIBLE=1 ./test.sh runs it too)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if ! commit=$(git -C "$top" rev-parse --verify -q HEAD 2>/dev/null); then
  echo "SKIPPED: the reproducible-build check needs a git checkout with a commit"
  exit 0
fi
if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
  echo "note: checking the last commit, $commit; uncommitted changes are not part of it"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/resheat-reproducible.XXXXXX")
keep=0
trap '[ "$keep" -eq 1 ] || rm -rf "$work"' EXIT
unset SOURCE_DATE_EPOCH CMAKE_CXX_COMPILER_LAUNCHER
export CCACHE_DISABLE=1

build() { # FOLDER UMASK
  local src=$1/resheat
  mkdir -p "$1"
  git clone -q --no-checkout "$top" "$src"
  git -C "$src" checkout -q "$commit"
  (
    umask "$2"
    cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DRESHEAT_BUILD_TESTS=OFF -DRESHEAT_BUILD_BENCH=OFF >"$1/configure.log"
    cmake --build "$src/build" --parallel "$(nproc)" >"$1/build.log"
    # CPack gives the package's ar members the modes of the umask.
    cd "$src/build" && umask 022 && cpack -G DEB >"$1/cpack.log"
  ) || { tail -n 30 "$1"/*.log; echo "FAILED: the build in $1" >&2; exit 1; }
}

echo "first build..."
build "$work/first" 022
echo "second build, in another folder..."
build "$work/second folder" 002

status=0
deb=$(cd "$work/first/resheat/build" && ls resheat_*.deb)
for file in app/resheat cli/resheat-calc "$deb"; do
  if cmp -s "$work/first/resheat/build/$file" "$work/second folder/resheat/build/$file"; then
    echo "same: $file"
  else
    echo "DIFFERENT: $file" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] || { keep=1; echo "both builds kept in $work" >&2; }
exit $status
