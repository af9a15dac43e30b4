// What the frame parsing promises for any bytes at all: the fuzzer checks it on every input
// and the tests on every input the fuzzer ever broke it with.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "ocx/mp3/Mp3Index.h"
#include "ocx/mp3/Mp3Source.h"

namespace mp3 {

// The first promise `data` breaks, or nullptr.
inline const char* BrokenPromise(const uint8_t* data, size_t size) {
  MemoryBytes bytes(data, size);
  CMp3Index index;
  if (!index.Build(bytes)) return nullptr;
  if (index.AudioBegin() > index.AudioEnd() || index.AudioEnd() > size) return "the stream lies within the file";
  if (index.Frames() == 0 || index.LengthMs() < 0) return "a stream has frames";
  CMp3Source source(bytes, index.AudioBegin(), index.AudioEnd());
  source.SetFormat(index.Format());
  Frame frame;
  uint64_t count = 0, next = 0;
  while (source.Next(&frame)) {
    if (frame.offset < next) return "frames do not overlap";
    if (frame.offset + uint64_t(frame.header.frameBytes) > index.AudioEnd()) return "frames lie within the stream";
    if (!SameStream(frame.header, index.Format())) return "frames belong to the stream";
    next = frame.offset + uint64_t(frame.header.frameBytes);
    if (++count > size / 24 + 1) return "no more frames than bytes allow";
  }
  if (index.HeaderKind() == VbrHeader::kNone && count != index.Frames()) return "walking finds the frames counted";
  uint64_t lastOffset = 0;
  for (int64_t ms : {int64_t(-5), int64_t(0), index.LengthMs() / 3, index.LengthMs(), index.LengthMs() + 1000}) {
    CMp3Index::SeekPoint point = index.Locate(ms);
    if (point.offset < index.AudioBegin() || point.offset > index.AudioEnd()) return "seek points lie in the stream";
    if (point.ms < 0 || point.ms > index.LengthMs()) return "seek times lie in the track";
    if (point.ms > std::max<int64_t>(ms, 0)) return "a seek point is never past the time asked for";
    if (point.offset < lastOffset) return "later times lie later in the file";
    lastOffset = point.offset;
    source.SeekTo(point.offset);
    if (source.Next(&frame) && frame.offset < point.offset) return "decoding resumes at the point or after";
  }
  return nullptr;
}

}  // namespace mp3
