#include "ocx/mp3/Mp3Decoder.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kFramesPerDecode = 8;  // about 0.2 s of sound per codec call
}

bool CMp3Decoder::Open(const char* path) {
  Close();
  if (!path || !m_file.Open(path) || !m_index.Build(m_file)) {
    Close();
    return false;
  }
  const mp3::FrameHeader& format = m_index.Format();
  m_mp3 = MPEGLAYER3WAVEFORMAT{};
  m_mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  m_mp3.wfx.nChannels = WORD(format.channels);
  m_mp3.wfx.nSamplesPerSec = DWORD(format.sampleRate);
  m_mp3.wfx.nAvgBytesPerSec = DWORD(format.bitrate / 8);
  m_mp3.wfx.nBlockAlign = 1;
  m_mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  m_mp3.wID = MPEGLAYER3_ID_MPEG;
  m_mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  m_mp3.nBlockSize = WORD(format.frameBytes);
  m_mp3.nFramesPerBlock = 1;
  m_mp3.nCodecDelay = 1393;
  WORD blockAlign = WORD(format.channels * 2);
  m_pcm = WAVEFORMATEX{WAVE_FORMAT_PCM,
                       WORD(format.channels),
                       DWORD(format.sampleRate),
                       DWORD(format.sampleRate) * blockAlign,
                       blockAlign,
                       16,
                       0};
  m_source = std::make_unique<mp3::CMp3Source>(m_file, m_index.AudioBegin(), m_index.AudioEnd());
  m_source->SetFormat(format);
  if (!OpenCodec()) {
    Close();
    return false;
  }
  return true;
}

void CMp3Decoder::Close() {
  Rest();
  m_source.reset();
  m_file.Close();
  m_index = mp3::CMp3Index();
}

void CMp3Decoder::Rest() {
  m_codec.Reset();
  std::vector<uint8_t>().swap(m_input);
  std::vector<uint8_t>().swap(m_decoded);
  m_inputFrames = 0;
  m_decodedPos = 0;
  m_sourceDone = m_flushed = false;
}

// A fresh codec stream forgets what it was fed: the start of a file, or after a seek. The
// new stream opens before the old one closes, so the codec stays loaded in between.
bool CMp3Decoder::OpenCodec() {
  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, &m_mp3.wfx, &m_pcm, nullptr, 0, 0, 0) != MMSYSERR_NOERROR) {
    m_codec.Reset();
    return false;
  }
  m_codec.Reset(stream);
  m_input.clear();
  m_inputFrames = 0;
  m_decoded.clear();
  m_decodedPos = 0;
  m_sourceDone = m_flushed = false;
  return true;
}

int64_t CMp3Decoder::Seek(int64_t ms) {
  if (!IsOpen()) return 0;
  mp3::CMp3Index::SeekPoint point = m_index.Locate(ms);
  m_source->SeekTo(point.offset);
  const mp3::FrameHeader& format = m_index.Format();
  // The seek table holds every few frames: walk the headers to the wanted one.
  int64_t behind = std::max<int64_t>(std::min(ms, m_index.LengthMs()) - point.ms, 0);
  uint64_t skip = uint64_t(behind) * uint64_t(format.sampleRate) / 1000 / uint64_t(format.samplesPerFrame);
  uint64_t skipped = 0;
  mp3::Frame frame;
  while (skipped < skip && m_source->Next(&frame)) ++skipped;
  OpenCodec();
  return point.ms + int64_t(skipped * uint64_t(format.samplesPerFrame) * 1000 / uint64_t(format.sampleRate));
}

void CMp3Decoder::TakeFrames() {
  mp3::Frame frame;
  while (!m_sourceDone && m_inputFrames < kFramesPerDecode) {
    if (!m_source->Next(&frame)) {
      m_sourceDone = true;
      break;
    }
    m_input.insert(m_input.end(), frame.data, frame.data + frame.header.frameBytes);
    ++m_inputFrames;
  }
}

// One codec call on the frames waiting; false once the stream is done and drained.
bool CMp3Decoder::Decode() {
  if (m_flushed || !m_codec) return false;
  TakeFrames();
  if (m_input.empty()) {
    m_flushed = m_sourceDone;
    return !m_flushed;
  }
  const mp3::FrameHeader& format = m_index.Format();
  DWORD estimate = 0;
  acmStreamSize(m_codec.Get(), DWORD(m_input.size()), &estimate, ACM_STREAMSIZEF_SOURCE);
  size_t room = std::max<size_t>(estimate, (m_inputFrames + 2) * size_t(format.samplesPerFrame) * m_pcm.nBlockAlign);
  m_decoded.resize(room);
  m_decodedPos = 0;
  ACMSTREAMHEADER header{};
  header.cbStruct = sizeof header;
  header.pbSrc = m_input.data();
  header.cbSrcLength = DWORD(m_input.size());
  header.pbDst = m_decoded.data();
  header.cbDstLength = DWORD(room);
  bool converted = false;
  if (acmStreamPrepareHeader(m_codec.Get(), &header, 0) == MMSYSERR_NOERROR) {
    DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (m_sourceDone ? ACM_STREAMCONVERTF_END : 0);
    converted = acmStreamConvert(m_codec.Get(), &header, flags) == MMSYSERR_NOERROR;
    acmStreamUnprepareHeader(m_codec.Get(), &header, 0);
  }
  size_t used = converted ? std::min<size_t>(header.cbSrcLengthUsed, m_input.size()) : 0;
  size_t produced = converted ? std::min<size_t>(header.cbDstLengthUsed, room) : 0;
  m_decoded.resize(produced - produced % m_pcm.nBlockAlign);
  // Frames the codec will not take and makes nothing of are damaged: drop them.
  if (used == 0 && produced == 0) used = m_input.size();
  m_input.erase(m_input.begin(), m_input.begin() + std::ptrdiff_t(used));
  if (m_input.empty()) m_inputFrames = 0;
  return true;
}

size_t CMp3Decoder::Read(uint8_t* out, size_t capacity) {
  if (!IsOpen()) return 0;
  capacity -= capacity % m_pcm.nBlockAlign;
  size_t total = 0;
  while (total < capacity) {
    if (m_decodedPos >= m_decoded.size()) {
      if (!Decode()) break;
      continue;
    }
    size_t n = std::min(capacity - total, m_decoded.size() - m_decodedPos);
    std::memcpy(out + total, m_decoded.data() + m_decodedPos, n);
    total += n;
    m_decodedPos += n;
  }
  return total;
}
