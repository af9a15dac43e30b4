#!/usr/bin/env bash
# Makes the small MP3 files the tests play (run once; the files are kept in the repo, so the
# tests never need these tools). Needs sox, lame and python3.
#   cbr44s_tags.mp3  MPEG-1 44.1 kHz stereo, 64 kbit/s, Info header, ID3v2.3 and ID3v1 tags
#   cbr22m_bare.mp3  MPEG-2 22.05 kHz mono, 32 kbit/s, no VBR header, no tags (length by walking)
#   vbr44s_xing.mp3  MPEG-1 44.1 kHz stereo VBR, Xing header with TOC, ID3v2.4 with footer, APE tag
#   vbr22m_vbri.mp3  MPEG-2 22.05 kHz mono VBR behind a VBRI header frame made here
#   cbr8m.mp3        MPEG-2.5 8 kHz mono, 16 kbit/s
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sox -n -r 44100 -c 2 "$tmp/s44.wav" synth 1.5 sine 220-1760 sine 330 vol 0.5
sox -n -r 44100 -c 2 "$tmp/v44.wav" synth 2 sine 220-1760 pinknoise vol 0.5
sox -n -r 22050 -c 1 "$tmp/m22.wav" synth 1.5 sine 440-880 vol 0.5
sox -n -r 22050 -c 1 "$tmp/v22.wav" synth 2 sine 300-3000 vol 0.5 : synth 1 pinknoise vol 0.3
sox -n -r 8000 -c 1 "$tmp/m8.wav" synth 1 sine 440 vol 0.5

lame --quiet -b 64 --resample 44.1 --add-id3v2 --tt "Tone" --ta "Tidybar" "$tmp/s44.wav" cbr44s_tags.mp3
lame --quiet -b 32 --resample 22.05 -t "$tmp/m22.wav" cbr22m_bare.mp3
lame --quiet -V 8 --resample 44.1 "$tmp/v44.wav" "$tmp/v44.mp3"
lame --quiet -V 8 --resample 22.05 -t "$tmp/v22.wav" "$tmp/v22.mp3"
lame --quiet -b 16 --resample 8 "$tmp/m8.wav" cbr8m.mp3

python3 - "$tmp" <<'PY'
import struct, sys
tmp = sys.argv[1]

def syncsafe(n):
    return bytes([(n >> 21) & 127, (n >> 14) & 127, (n >> 7) & 127, n & 127])

def frames(data):
    """Offsets and sizes of the MPEG-2 Layer III frames of a bare stream."""
    rates = {0: 22050, 1: 24000, 2: 16000}
    kbps = [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]
    out, at = [], 0
    while at + 4 <= len(data) and data[at] == 0xFF:
        size = 72 * kbps[data[at + 2] >> 4] * 1000 // rates[(data[at + 2] >> 2) & 3] + ((data[at + 2] >> 1) & 1)
        out.append((at, size))
        at += size
    return out

# ID3v2.4 with a footer in front, an APE tag with header and footer behind.
body = b"TIT2" + syncsafe(6) + b"\0\0" + b"\3Tone\0"
id3 = b"ID3\4\0\x10" + syncsafe(len(body)) + body + b"3DI\4\0\x10" + syncsafe(len(body))
item = struct.pack("<II", 5, 0) + b"Title\0" + b"Tone!"
ape_size = len(item) + 32
ape = (b"APETAGEX" + struct.pack("<IIII", 2000, ape_size, 1, 0xA0000000) + bytes(8) + item +
       b"APETAGEX" + struct.pack("<IIII", 2000, ape_size, 1, 0x80000000) + bytes(8))
open("vbr44s_xing.mp3", "wb").write(id3 + open(tmp + "/v44.mp3", "rb").read() + ape)

# A VBRI header frame (MPEG-2, 22.05 kHz, mono, 64 kbit/s: 208 bytes) before a bare VBR stream.
stream = open(tmp + "/v22.mp3", "rb").read()
found = frames(stream)
per = 4
table = [sum(size for _, size in found[i:i + per]) for i in range(0, len(found), per)]
header = bytes([0xFF, 0xF3, 0x80, 0xC4])
vbri = (b"VBRI" + struct.pack(">HHHIIHHHH", 1, 0, 75, 208 + len(stream), len(found), len(table), 1, 2, per) +
        b"".join(struct.pack(">H", n) for n in table))
frame = header + bytes(32) + vbri
frame += bytes(208 - len(frame))
open("vbr22m_vbri.mp3", "wb").write(frame + stream)
PY
ls -l ./*.mp3
