#include "ocx/mp3/Mp3Source.h"

#include <algorithm>
#include <cstring>

namespace mp3 {

namespace {
constexpr size_t kWindowBytes = 64 * 1024;
}

CMp3Source::CMp3Source(IByteSource& file, uint64_t begin, uint64_t end)
    : m_file(file),
      m_begin(begin),
      m_end(std::max(begin, std::min(end, file.Size()))),
      m_pos(begin),
      m_window(kWindowBytes) {}

void CMp3Source::SetFormat(const FrameHeader& format) {
  m_format = format;
  m_hasFormat = true;
}

void CMp3Source::SeekTo(uint64_t offset) { m_pos = std::min(std::max(offset, m_begin), m_end); }

size_t CMp3Source::Load(size_t count) {
  uint64_t left = m_end - m_pos;
  size_t wanted = size_t(std::min<uint64_t>(count, left));
  bool inWindow = m_pos >= m_windowStart && m_pos + wanted <= m_windowStart + m_windowSize;
  if (!inWindow) {
    m_windowStart = m_pos;
    m_windowSize = m_file.ReadAt(m_pos, m_window.data(), size_t(std::min<uint64_t>(kWindowBytes, left)));
    if (m_windowSize < wanted) {
      m_end = m_pos + m_windowSize;  // the file gave less than it claimed: that is its end
      wanted = m_windowSize;
    }
  }
  return wanted;
}

// A frame of the stream starts at `p` when its header is sound and the next header follows
// it, or when it fills the stream to its end.
bool CMp3Source::IsFrame(const uint8_t* p, size_t available, FrameHeader* header) const {
  if (!ParseFrameHeader(p, header) || (m_hasFormat && !SameStream(*header, m_format))) return false;
  size_t size = size_t(header->frameBytes);
  if (available < size) return false;
  if (available < size + kHeaderBytes) return true;  // the last frame
  FrameHeader next;
  return ParseFrameHeader(p + size, &next) && SameStream(next, *header);
}

void CMp3Source::SkipToNextSync() {
  ++m_pos;
  size_t inWindow = size_t(m_windowStart + m_windowSize - std::min(m_pos, m_windowStart + m_windowSize));
  const void* found = inWindow ? std::memchr(At(m_pos), 0xFF, inWindow) : nullptr;
  m_pos = found ? m_windowStart + uint64_t(static_cast<const uint8_t*>(found) - m_window.data())
                : std::max(m_pos, m_windowStart + m_windowSize);
}

bool CMp3Source::Next(Frame* frame) {
  while (m_pos < m_end) {
    if (Load(kHeaderBytes) < kHeaderBytes) break;
    FrameHeader header;
    if (At(m_pos)[0] == 0xFF && ParseFrameHeader(At(m_pos), &header)) {
      size_t available = Load(size_t(header.frameBytes) + kHeaderBytes);
      if (IsFrame(At(m_pos), available, &header)) {
        frame->offset = m_pos;
        frame->header = header;
        frame->data = At(m_pos);
        m_pos += uint64_t(header.frameBytes);
        return true;
      }
    }
    SkipToNextSync();
  }
  m_pos = m_end;
  return false;
}

}  // namespace mp3
