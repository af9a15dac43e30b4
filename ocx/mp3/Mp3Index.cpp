#include "ocx/mp3/Mp3Index.h"

#include <algorithm>

#include "ocx/mp3/Mp3Source.h"

namespace mp3 {

bool CMp3Index::Build(IByteSource& file) {
  *this = CMp3Index();
  uint64_t size = file.Size();
  uint64_t begin = LeadingTagBytes(file);
  uint8_t tail[160];
  size_t tailSize = size_t(std::min<uint64_t>(sizeof tail, size));
  tailSize = file.ReadAt(size - tailSize, tail, tailSize);
  uint64_t trailing = TrailingTagBytes(tail, tailSize, size);
  m_end = size - trailing;
  m_audioBegin = begin;
  if (m_end <= begin || !FindFirstFrame(file)) return false;
  if (m_frames == 0) WalkFrames(file);
  return m_frames > 0;
}

// The stream starts at the first frame that two more follow in step (or that runs to the
// end), so stray sync patterns in junk or in a tag are not taken for the start.
bool CMp3Index::FindFirstFrame(IByteSource& file) {
  CMp3Source source(file, m_audioBegin, m_end);
  Frame frame;
  while (source.Next(&frame)) {
    const Frame first = frame;
    std::vector<uint8_t> bytes(first.data, first.data + first.header.frameBytes);
    uint64_t expected = first.offset + uint64_t(first.header.frameBytes);
    bool chained = true;
    for (int i = 0; i < 2 && chained && source.Next(&frame); ++i) {  // a stream may end sooner
      chained = frame.offset == expected && SameStream(frame.header, first.header);
      expected = frame.offset + uint64_t(frame.header.frameBytes);
    }
    if (!chained) {
      source.SeekTo(first.offset + 1);
      continue;
    }
    m_format = first.header;
    m_first = first.offset;
    VbrHeader vbr = ParseVbrHeader(bytes.data(), bytes.size(), first.header);
    m_audioBegin = vbr.kind == VbrHeader::kNone ? m_first : m_first + bytes.size();
    m_kind = vbr.kind;
    if (Believable(vbr)) {
      m_frames = vbr.frames;
      m_hasToc = vbr.hasToc && vbr.kind == VbrHeader::kXing;
      std::copy(vbr.toc, vbr.toc + 100, m_toc);
      m_tocBytes = vbr.bytes ? vbr.bytes : m_end - m_first;
      if (SegmentsFit(vbr.segments)) {
        m_segments = vbr.segments;
        m_framesPerSegment = vbr.framesPerSegment;
      }
    }
    return true;
  }
  return false;
}

// A header is believed when its frame count gives an average bit rate that Layer III can
// have for the bytes there are, and its byte count does not say the file was cut short.
bool CMp3Index::Believable(const VbrHeader& vbr) const {
  if (vbr.kind == VbrHeader::kNone || vbr.frames == 0 || m_end <= m_audioBegin) return false;
  uint64_t streamBytes = m_end - m_first;
  if (vbr.bytes && streamBytes + std::max<uint64_t>(vbr.bytes / 50, 1024) < vbr.bytes) return false;
  double seconds = double(vbr.frames) * m_format.samplesPerFrame / m_format.sampleRate;
  double bitrate = double(m_end - m_audioBegin) * 8 / seconds;
  double lowest = m_format.version == 10 ? 32000 : 8000, highest = m_format.version == 10 ? 320000 : 160000;
  return bitrate >= lowest / 2 && bitrate <= highest * 2;
}

// A VBRI table whose runs add up to more than the stream holds would put later times
// beyond the end, where seeking falls back to estimates that lie earlier: it is ignored.
bool CMp3Index::SegmentsFit(const std::vector<uint32_t>& segments) const {
  uint64_t total = 0;
  for (uint32_t bytes : segments) total += bytes;
  return m_audioBegin + total <= m_end;
}

void CMp3Index::WalkFrames(IByteSource& file) {
  CMp3Source source(file, m_audioBegin, m_end);
  source.SetFormat(m_format);
  Frame frame;
  uint64_t count = 0;
  while (source.Next(&frame)) {
    if (count % kIndexStep == 0) m_table.push_back(frame.offset);
    ++count;
  }
  m_frames = count;
}

int64_t CMp3Index::FrameToMs(uint64_t frame) const {
  if (m_format.sampleRate == 0) return 0;
  return int64_t(frame * uint64_t(m_format.samplesPerFrame) * 1000 / uint64_t(m_format.sampleRate));
}

uint64_t CMp3Index::MsToFrame(int64_t ms) const {
  if (m_format.samplesPerFrame == 0) return 0;
  return uint64_t(double(ms) * m_format.sampleRate / 1000.0 / m_format.samplesPerFrame);
}

CMp3Index::SeekPoint CMp3Index::Locate(int64_t ms) const {
  ms = std::min(std::max<int64_t>(ms, 0), LengthMs());
  uint64_t frame = std::min(MsToFrame(ms), m_frames);
  if (!m_table.empty()) {
    size_t entry = size_t(std::min<uint64_t>(frame / kIndexStep, m_table.size() - 1));
    return {m_table[entry], FrameToMs(entry * kIndexStep)};
  }
  uint64_t audioBytes = m_end - m_audioBegin;
  if (!m_segments.empty()) {
    size_t segment = size_t(std::min<uint64_t>(frame / m_framesPerSegment, m_segments.size()));
    uint64_t offset = m_audioBegin;
    for (size_t i = 0; i < segment; ++i) offset += m_segments[i];
    if (offset <= m_end) return {offset, FrameToMs(uint64_t(segment) * m_framesPerSegment)};
  }
  if (m_hasToc && LengthMs() > 0) {
    double percent = 100.0 * double(ms) / double(LengthMs());
    int i = std::min(int(percent), 99);
    double a = m_toc[i], b = i < 99 ? m_toc[i + 1] : 256.0;
    double fraction = (a + (b - a) * (percent - i)) / 256.0;
    uint64_t offset = m_first + uint64_t(fraction * double(m_tocBytes));
    return {std::min(std::max(offset, m_audioBegin), m_end), ms};
  }
  // Constant bit rate, or no table: frames are as long as they are on average.
  uint64_t offset =
      m_frames ? m_audioBegin + uint64_t(double(audioBytes) * double(frame) / double(m_frames)) : m_audioBegin;
  return {std::min(offset, m_end), FrameToMs(frame)};
}

}  // namespace mp3
