#include "ocx/mp3/Mp3Frames.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mp3 {

namespace {
uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t BigEndian16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t LittleEndian32(const uint8_t* p) {
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Reads the Xing/Info fields that follow the tag at `p`, up to `end`.
bool ReadXing(const uint8_t* p, const uint8_t* end, VbrHeader* vbr) {
  if (end - p < 8) return false;
  uint32_t flags = BigEndian32(p + 4);
  p += 8;
  if (flags & 1) {
    if (end - p < 4) return false;
    vbr->frames = BigEndian32(p);
    p += 4;
  }
  if (flags & 2) {
    if (end - p < 4) return false;
    vbr->bytes = BigEndian32(p);
    p += 4;
  }
  if ((flags & 4) && end - p >= 100) {
    std::memcpy(vbr->toc, p, 100);
    // A table that does not start at 0 and climb is damaged: seeking by it would jump about.
    vbr->hasToc = vbr->toc[0] == 0 && std::is_sorted(vbr->toc, vbr->toc + 100);
  }
  return true;
}

// VBRI: version, delay, quality, bytes, frames, entries, scale, entry size, frames per entry.
bool ReadVbri(const uint8_t* p, const uint8_t* end, VbrHeader* vbr) {
  if (end - p < 26) return false;
  vbr->bytes = BigEndian32(p + 10);
  vbr->frames = BigEndian32(p + 14);
  uint32_t entries = BigEndian16(p + 18), scale = BigEndian16(p + 20);
  uint32_t entrySize = BigEndian16(p + 22);
  vbr->framesPerSegment = BigEndian16(p + 24);
  p += 26;
  if (entrySize < 1 || entrySize > 4 || vbr->framesPerSegment == 0 || uint64_t(end - p) < uint64_t(entries) * entrySize)
    return true;  // usable for the length, not for seeking
  for (uint32_t i = 0; i < entries; ++i, p += entrySize) {
    uint32_t value = 0;
    for (uint32_t b = 0; b < entrySize; ++b) value = value << 8 | p[b];
    vbr->segments.push_back(value * scale);
  }
  return true;
}
}  // namespace

size_t MemoryBytes::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (offset >= m_size) return 0;
  size_t n = count < m_size - offset ? count : size_t(m_size - offset);
  std::memcpy(out, m_data + offset, n);
  return n;
}

int FrameHeader::SideInfoBytes() const {
  if (version == 10) return channels == 1 ? 17 : 32;
  return channels == 1 ? 9 : 17;
}

bool ParseFrameHeader(const uint8_t* b, FrameHeader* header) {
  static const int kBitratesV1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kBitratesV2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kRates[] = {44100, 48000, 32000};
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
  int versionBits = (b[1] >> 3) & 3;  // 0: MPEG-2.5, 1: reserved, 2: MPEG-2, 3: MPEG-1
  int layerBits = (b[1] >> 1) & 3;    // 1: Layer III
  int bitrateIndex = b[2] >> 4, rateIndex = (b[2] >> 2) & 3;
  if (versionBits == 1 || layerBits != 1) return false;
  // Free format (0) cannot be framed without searching; 15 and rate 3 are forbidden values.
  if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 || (b[3] & 3) == 2) return false;
  bool v1 = versionBits == 3;
  FrameHeader h;
  h.version = v1 ? 10 : versionBits == 2 ? 20 : 25;
  h.bitrate = (v1 ? kBitratesV1 : kBitratesV2)[bitrateIndex] * 1000;
  h.sampleRate = kRates[rateIndex] >> (v1 ? 0 : versionBits == 2 ? 1 : 2);
  h.channels = (b[3] >> 6) == 3 ? 1 : 2;
  h.samplesPerFrame = v1 ? 1152 : 576;
  h.padding = (b[2] >> 1) & 1;
  h.crc = !(b[1] & 1);
  h.frameBytes = (v1 ? 144 : 72) * h.bitrate / h.sampleRate + (h.padding ? 1 : 0);
  *header = h;
  return true;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.sampleRate == b.sampleRate && a.channels == b.channels;
}

// Tags may be chained many times over (100,000 empty ones make 1 MB): their headers are
// read in large blocks, not ten bytes at a time.
uint64_t LeadingTagBytes(IByteSource& file) {
  const size_t kBlockBytes = 64 * 1024;
  std::vector<uint8_t> block(kBlockBytes);
  uint64_t offset = 0, size = file.Size(), blockStart = 0;
  size_t blockSize = 0;
  for (;;) {
    if (offset < blockStart || offset + 10 > blockStart + blockSize) {
      blockStart = offset;
      blockSize = file.ReadAt(offset, block.data(), block.size());
      if (blockSize < 10) break;
    }
    const uint8_t* h = block.data() + (offset - blockStart);
    if (std::memcmp(h, "ID3", 3) != 0 || h[3] == 0xFF || h[4] == 0xFF || (h[6] | h[7] | h[8] | h[9]) >= 0x80) break;
    uint64_t body = uint64_t(h[6]) << 21 | uint64_t(h[7]) << 14 | uint64_t(h[8]) << 7 | h[9];
    bool footer = h[3] >= 4 && (h[5] & 0x10);
    offset += 10 + body + (footer ? 10 : 0);
    if (offset >= size) return size;
  }
  return offset;
}

uint64_t TrailingTagBytes(const uint8_t* tail, size_t tailSize, uint64_t fileSize) {
  uint64_t cut = 0;
  if (tailSize >= 128 && fileSize >= 128 && std::memcmp(tail + tailSize - 128, "TAG", 3) == 0) cut = 128;
  if (tailSize >= cut + 32 && std::memcmp(tail + tailSize - cut - 32, "APETAGEX", 8) == 0) {
    const uint8_t* footer = tail + tailSize - cut - 32;
    uint64_t size = LittleEndian32(footer + 12);  // items and footer, not the header
    uint64_t total = size + ((LittleEndian32(footer + 20) & 0x80000000u) ? 32 : 0);
    if (size >= 32 && total <= fileSize - cut) cut += total;
  }
  return cut;
}

VbrHeader ParseVbrHeader(const uint8_t* frame, size_t size, const FrameHeader& header) {
  VbrHeader vbr;
  const uint8_t* end = frame + size;
  // Encoders differ on whether the check bytes come before the Xing tag: look at both places.
  for (int check : {header.crc ? 2 : 0, 0}) {
    size_t at = kHeaderBytes + size_t(check) + size_t(header.SideInfoBytes());
    if (at + 4 > size) continue;
    bool xing = std::memcmp(frame + at, "Xing", 4) == 0, info = std::memcmp(frame + at, "Info", 4) == 0;
    if ((xing || info) && ReadXing(frame + at, end, &vbr)) {
      vbr.kind = xing ? VbrHeader::kXing : VbrHeader::kInfo;
      return vbr;
    }
    vbr = VbrHeader();
  }
  const size_t kVbriAt = kHeaderBytes + 32;
  if (size >= kVbriAt + 4 && std::memcmp(frame + kVbriAt, "VBRI", 4) == 0) {
    if (ReadVbri(frame + kVbriAt, end, &vbr)) vbr.kind = VbrHeader::kVbri;
    else vbr = VbrHeader();
  }
  return vbr;
}

}  // namespace mp3
