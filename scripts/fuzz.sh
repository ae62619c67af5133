#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while, starting from
# the committed seeds. scripts/fuzz.sh 600 runs each for ten minutes.
# A crash leaves its input in build/fuzz/ and fails the run: turn it into a
# regression test in tests/host/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-10}"
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DVORLIND_FUZZ=ON -DGTEST_SOURCE_DIR=/nonexistent \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target split_fuzz registry_fuzz request_fuzz drop_fuzz start_fuzz history_fuzz expansion_fuzz completion_fuzz
for target in split registry request drop start history expansion completion; do
  found="build/fuzz/corpus-$target"
  mkdir -p "$found"
  echo "== fuzzing $target for ${seconds}s"
  (cd build/fuzz && "./${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
     "$root/build/fuzz/corpus-$target" "$root/fuzz/corpus/$target" 2>&1 | grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY|Done)" || true)
  # libFuzzer exits non-zero on a finding and leaves crash-* behind.
  if compgen -G "build/fuzz/crash-*" >/dev/null || compgen -G "build/fuzz/leak-*" >/dev/null ||
     compgen -G "build/fuzz/timeout-*" >/dev/null; then
    echo "fuzzing $target found a failure:" build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-*
    exit 1
  fi
done
