#!/usr/bin/env bash
# Builds the document, scenario and AIA fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# writes their seed corpus with the document class itself, and runs each fuzzer for a bounded
# time. Fails on any crash, leak, sanitizer report or oversized allocation.
#
#   scripts/fuzz.sh                 # build in build-fuzz/, 25 seconds per fuzzer
#   FUZZ_SECONDS=5 scripts/fuzz.sh  # a quicker pass
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-25}"
jobs="${FUZZ_BUILD_JOBS:-2}"

cmake -S "$root" -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DQUELMAR_BUILD_FUZZ=ON -DQUELMAR_SANITIZE=ON \
  -DQUELMAR_BUILD_GUI=OFF -DQUELMAR_BUILD_TESTS=OFF -DQUELMAR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" \
  --target fuzz_load_buffer fuzz_load_file fuzz_read_spectra fuzz_generate_scenario \
  fuzz_read_aia \
  fuzz_batch_recipe fuzz_seed_corpus

corpus="$build/fuzz-corpus"
rm -rf "$corpus"
"$build/fuzz/fuzz_seed_corpus" "$corpus/seeds"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
# The file-based fuzzers write their inputs under TMPDIR; keep them inside the build folder.
export TMPDIR="$build/fuzz-tmp"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
trap 'rm -rf "$TMPDIR"' EXIT

run() {
  local fuzzer="$1" seeds="$2"
  local work="$corpus/$fuzzer"
  mkdir -p "$work"
  echo "fuzz: $fuzzer for ${seconds}s from $(ls "$seeds" | wc -l) seeds"
  # The malloc limit turns any allocation sized by an unchecked count into a failure.
  "$build/fuzz/$fuzzer" "$work" "$seeds" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 \
    -artifact_prefix="$artifacts/$fuzzer-" -print_final_stats=1 2>"$work.log" \
    || { tail -n 60 "$work.log"; echo "fuzz: $fuzzer FAILED (log: $work.log)"; return 1; }
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)" "$work.log" | sed "s/^/fuzz: $fuzzer /"
}

run fuzz_load_buffer "$corpus/seeds/documents"
run fuzz_load_file "$corpus/seeds/documents"
run fuzz_read_spectra "$corpus/seeds/spectra"
run fuzz_generate_scenario "$corpus/seeds/scenarios"
run fuzz_read_aia "$corpus/seeds/aia"
run fuzz_batch_recipe "$corpus/seeds/recipes"
echo "fuzz: all fuzzers ran clean"
