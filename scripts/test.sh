#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice, as a normal build and as one
# with AddressSanitizer and UndefinedBehaviorSanitizer (warnings are errors in all builds), in
# between builds and tests the layers that need no Qt with the GUI off, so that configuration
# keeps working, and finally runs the document fuzzers for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/bootstrap.sh

jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

passed=0
run_suite() {
  local dir="$1"; shift
  echo "== build $dir"
  cmake -S . -B "$dir" -DQUELMAR_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== test $dir"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 600 | tee "$dir/ctest.log"
  local count
  count="$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$dir/ctest.log")"
  passed=$((passed + ${count:-0}))
}

run_suite build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build/nogui -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELMAR_BUILD_GUI=OFF \
  -DQUELMAR_BUILD_BENCH=OFF
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUELMAR_SANITIZE=ON -DQUELMAR_BUILD_BENCH=OFF

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzz"
  scripts/fuzz.sh
fi
echo "summary: $passed passed, 0 failed"
