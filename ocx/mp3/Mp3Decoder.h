// Decodes an MP3 file to PCM through the system's MPEG Layer-3 codec (msacm32), a few
// frames at a time straight from the file.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ocx/mp3/AudioHandles.h"
#include "ocx/mp3/FileBytes.h"
#include "ocx/mp3/Mp3Index.h"
#include "ocx/mp3/Mp3Source.h"

class CMp3Decoder {
 public:
  // False when the file is missing, holds no Layer III stream or the codec refuses it.
  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return bool(m_source); }
  // Lets the codec stream and the sound waiting in it go while nothing plays; the next Seek
  // takes a fresh stream.
  void Rest();

  const WAVEFORMATEX& PcmFormat() const { return m_pcm; }
  const mp3::CMp3Index& Index() const { return m_index; }
  int64_t LengthMs() const { return IsOpen() ? m_index.LengthMs() : 0; }

  // Decodes up to `capacity` bytes of PCM (whole sample frames) into `out`; 0 at the end.
  size_t Read(uint8_t* out, size_t capacity);
  // Restarts decoding at the frame for `ms`; returns the time of that frame.
  int64_t Seek(int64_t ms);

 private:
  bool OpenCodec();
  void TakeFrames();
  bool Decode();

  CFileBytes m_file;
  mp3::CMp3Index m_index;
  std::unique_ptr<mp3::CMp3Source> m_source;
  AcmStreamHandle m_codec;
  MPEGLAYER3WAVEFORMAT m_mp3{};
  WAVEFORMATEX m_pcm{};
  std::vector<uint8_t> m_input;    // frames the codec has not taken yet
  size_t m_inputFrames = 0;        // at most this many frames are in m_input
  std::vector<uint8_t> m_decoded;  // PCM not handed out yet, from m_decodedPos on
  size_t m_decodedPos = 0;
  bool m_sourceDone = false, m_flushed = false;
};
