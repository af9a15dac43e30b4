// MPEG audio Layer III frames and the tags and headers around them: plain C++ with no
// platform calls, so the parsing can be fuzzed and tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ocx/mp3/ByteSource.h"

namespace mp3 {

// A Layer III frame header (MPEG-1, MPEG-2 or MPEG-2.5).
struct FrameHeader {
  int version = 0;          // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
  int bitrate = 0;          // bits per second
  int sampleRate = 0;       // samples per second per channel
  int channels = 0;         // 1 or 2
  int samplesPerFrame = 0;  // 1152 or 576
  int frameBytes = 0;       // the whole frame, header included
  bool crc = false;         // a 16-bit check follows the header
  bool padding = false;

  // Bytes of side information after the header (and its check).
  int SideInfoBytes() const;
};

constexpr size_t kHeaderBytes = 4;
constexpr int kMaxFrameBytes = 1441;  // 320 kbit/s at 32 kHz with padding, or 160 at 8 kHz

// Reads a Layer III header from 4 bytes; false for anything else (other layers, free
// format, reserved values).
bool ParseFrameHeader(const uint8_t* bytes, FrameHeader* header);

// Whether two frames can belong to one stream (one decoder set-up serves both).
bool SameStream(const FrameHeader& a, const FrameHeader& b);

// The bytes taken by ID3v2 tags at the start of `file` (there may be several in a row; a
// tag's footer counts), or 0.
uint64_t LeadingTagBytes(IByteSource& file);

// The bytes taken by an ID3v1 tag and an APE tag at the end of a file, given its last
// `tailSize` bytes (up to 160 are looked at).
uint64_t TrailingTagBytes(const uint8_t* tail, size_t tailSize, uint64_t fileSize);

// What a VBR header (Xing/Info or VBRI) in a stream's first frame says.
struct VbrHeader {
  enum Kind { kNone, kXing, kInfo, kVbri } kind = kNone;
  uint32_t frames = 0;             // audio frames after the header frame; 0 when not given
  uint32_t bytes = 0;              // stream bytes, header frame included; 0 when not given
  bool hasToc = false;             // a usable table: it starts at 0 and never decreases
  uint8_t toc[100] = {};           // Xing: byte position at each percent, in 1/256 of `bytes`
  std::vector<uint32_t> segments;  // VBRI: bytes of each run of `framesPerSegment` frames
  uint32_t framesPerSegment = 0;
};

// Reads a VBR header from a whole first frame; kind is kNone when there is none.
VbrHeader ParseVbrHeader(const uint8_t* frame, size_t size, const FrameHeader& header);

}  // namespace mp3
