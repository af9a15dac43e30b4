// Where a file's Layer III stream lies, how long it plays and where to resume decoding for
// a given time. The length comes from a Xing/Info or VBRI header when the file has a
// believable one, else from walking every frame header once (which also gives an exact
// seek table).
#pragma once

#include <cstdint>
#include <vector>

#include "ocx/mp3/ByteSource.h"
#include "ocx/mp3/Mp3Frames.h"

namespace mp3 {

class CMp3Index {
 public:
  // Finds the stream in `file`; false when the file holds no playable Layer III stream.
  bool Build(IByteSource& file);

  const FrameHeader& Format() const { return m_format; }
  uint64_t AudioBegin() const { return m_audioBegin; }  // the first audio frame, past any VBR header
  uint64_t AudioEnd() const { return m_end; }           // where trailing tags begin
  uint64_t Frames() const { return m_frames; }
  int64_t LengthMs() const { return FrameToMs(m_frames); }
  VbrHeader::Kind HeaderKind() const { return m_kind; }

  struct SeekPoint {
    uint64_t offset;  // decoding resumes at the first frame from here on
    int64_t ms;       // the time there (exact for walked and VBRI streams, else an estimate)
  };
  SeekPoint Locate(int64_t ms) const;

 private:
  static constexpr uint64_t kIndexStep = 8;  // frames between two entries of the seek table

  bool FindFirstFrame(IByteSource& file);
  bool Believable(const VbrHeader& vbr) const;
  bool SegmentsFit(const std::vector<uint32_t>& segments) const;
  void WalkFrames(IByteSource& file);
  int64_t FrameToMs(uint64_t frame) const;
  uint64_t MsToFrame(int64_t ms) const;

  FrameHeader m_format;
  uint64_t m_first = 0, m_audioBegin = 0, m_end = 0, m_frames = 0;
  VbrHeader::Kind m_kind = VbrHeader::kNone;
  uint8_t m_toc[100] = {};
  bool m_hasToc = false;
  uint64_t m_tocBytes = 0;
  std::vector<uint32_t> m_segments;
  uint32_t m_framesPerSegment = 0;
  std::vector<uint64_t> m_table;  // offset of every kIndexStep-th frame of a walked stream
};

}  // namespace mp3
