#!/usr/bin/env bash
# Makes simple.mp3, the bar's start-up sound: a soft rising C major arpeggio that rings out
# (about 2.5 s). Needs Debian's sox and lame. The result is kept in res/sound/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
i=0
for note in C5 E5 G5 C6; do
  delay=$(echo "$i * 0.18" | bc -l)
  sox -n -r 44100 -c 2 "$tmp/n$i.wav" synth 2.2 pluck "$note" fade q 0.01 2.2 1.8 gain -14 pad "$delay" 0
  i=$((i + 1))
done
sox -m "$tmp"/n*.wav "$tmp/mix.wav" norm -3 reverb 30 trim 0 2.6 fade q 0 2.6 0.6
lame --quiet -b 128 "$tmp/mix.wav" "$here/simple.mp3"
