#!/usr/bin/env bash
# Builds the frame parser's fuzzer natively with clang's libFuzzer (Debian: clang) and, with
# "run", fuzzes for a while from the sample files:  ocx/mp3/fuzz/build.sh run [seconds]
# Crashes land in build-fuzz/ as crash-*; keep each as a regression test in tests/mp3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out=${FUZZ_BUILD:-$root/build-fuzz}
# The native tests' project builds it, from the same library of portable code they test.
CXX=clang++ cmake -S "$root/tests/native" -B "$out" -DTIDYBAR_FUZZ=ON >/dev/null
cmake --build "$out" --target fuzz_frames -j "$(nproc)" >/dev/null
echo "built $out/fuzz_frames"
if [ "${1:-}" = run ]; then
  mkdir -p "$out/corpus"
  cp -n "$root"/tests/mp3/data/*.mp3 "$out/corpus/" 2>/dev/null || true
  cd "$out"
  ./fuzz_frames -max_total_time="${2:-180}" -max_len=32768 -timeout=5 -print_final_stats=1 corpus
fi
