#!/usr/bin/env bash
# The hardened check: builds ResHeat with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-hardened/, runs the whole test suite
# there, then fuzzes each harness of tests/fuzz/ with libFuzzer for SECONDS
# seconds (default 60).  Any sanitizer report, failing test, crash, hang or
# broken harness rule fails the script; the input that caused it is kept in
# build-hardened/fuzz-artifacts/.
#
#   scripts/check-hardened.sh [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/check-hardened.sh [SECONDS]" >&2
  exit 64
fi

# The project's own packages, then clang with its fuzzer and sanitizer
# runtimes.
"$top/scripts/setup.sh" clang libclang-rt-14-dev

build=build-hardened
# UndefinedBehaviorSanitizer stays in its recoverable mode and halts through
# UBSAN_OPTIONS: clang 14 miscompiles some of our code (the chart's markup
# measuring) when non-recoverable checks meet the fuzzer's coverage
# instrumentation.
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Coverage instrumentation for libFuzzer everywhere (fuzzer-no-link); the
# harness programs add the fuzzer's main().
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1 $sanitize -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DRESHEAT_BUILD_BENCH=OFF -DRESHEAT_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

# No strict_string_checks: the X keyboard library hands strndup buffers
# without a terminating NUL, which is allowed and which that check reports.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$top/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
for corpus in tests/fuzz/corpus/*/; do
  harness=$(basename "$corpus")
  fuzzer="$build/tests/fuzz/fuzz_$harness"
  if [ ! -f "$fuzzer" ]; then
    echo "no fuzzer built for $harness ($fuzzer)" >&2
    exit 1
  fi
  # New inputs go to a scratch folder; the checked-in corpus only seeds.
  scratch="$build/fuzz-corpus/$harness"
  mkdir -p "$scratch"
  dict=()
  [ -f "tests/fuzz/$harness.dict" ] && dict=("-dict=tests/fuzz/$harness.dict")
  echo "== fuzzing $harness for $seconds s"
  log="$build/fuzz-$harness.log"
  if ! "$fuzzer" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$harness-" \
      "$scratch" "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzzing $harness failed; the input is in $artifacts/, the log in $log" >&2
    exit 1
  fi
  grep -E '^(#[0-9]+ *DONE|Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
done
echo "hardened check passed"
