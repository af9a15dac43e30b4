#!/usr/bin/env bash
# Builds the frame parser's fuzzer natively with clang's libFuzzer (Debian: clang) and, with
# "run", fuzzes for a while from the sample files:  ocx/mp3/fuzz/build.sh run [seconds]
# Crashes land in build-fuzz/ as crash-*; keep each as a regression test in tests/mp3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out=${FUZZ_BUILD:-$root/build-fuzz}
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root" \
  "$here/FuzzFrames.cpp" "$root"/ocx/mp3/Mp3Frames.cpp "$root"/ocx/mp3/Mp3Source.cpp "$root"/ocx/mp3/Mp3Index.cpp \
  -o "$out/fuzz_frames"
echo "built $out/fuzz_frames"
if [ "${1:-}" = run ]; then
  cp -n "$root"/tests/mp3/data/*.mp3 "$out/corpus/" 2>/dev/null || true
  cd "$out"
  ./fuzz_frames -max_total_time="${2:-180}" -max_len=32768 -timeout=5 -print_final_stats=1 corpus
fi
