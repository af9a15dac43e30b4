// Walks the frames of a Layer III stream through a small window of the file, so a long
// file is never read into memory whole. A frame counts only when the next one follows it
// where its header says (or it ends the stream); anything else is skipped byte by byte
// until the frames line up again, so junk, damage and headers that lie about their size
// are passed over.
#pragma once

#include <cstdint>
#include <vector>

#include "ocx/mp3/ByteSource.h"
#include "ocx/mp3/Mp3Frames.h"

namespace mp3 {

struct Frame {
  uint64_t offset = 0;
  FrameHeader header;
  const uint8_t* data = nullptr;  // the whole frame; valid until the source moves on
};

class CMp3Source {
 public:
  CMp3Source(IByteSource& file, uint64_t begin, uint64_t end);

  // From now on only frames of this stream count (others are skipped).
  void SetFormat(const FrameHeader& format);
  // The next frame is looked for from `offset` on.
  void SeekTo(uint64_t offset);
  // The next frame; false at the end of the stream.
  bool Next(Frame* frame);
  uint64_t Position() const { return m_pos; }

 private:
  // Loads the window so that up to `count` bytes from m_pos are in it; returns how many are.
  size_t Load(size_t count);
  const uint8_t* At(uint64_t offset) const { return m_window.data() + (offset - m_windowStart); }
  bool IsFrame(const uint8_t* p, size_t available, FrameHeader* header) const;
  void SkipToNextSync();

  IByteSource& m_file;
  uint64_t m_begin, m_end, m_pos;
  std::vector<uint8_t> m_window;
  uint64_t m_windowStart = 0;
  size_t m_windowSize = 0;
  bool m_hasFormat = false;
  FrameHeader m_format;
};

}  // namespace mp3
