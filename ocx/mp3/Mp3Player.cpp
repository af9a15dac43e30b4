#include "ocx/mp3/Mp3Player.h"

#include <algorithm>

CMp3Player::CMp3Player(std::function<void()> onEnded)
    : m_onEnded(std::move(onEnded)), m_output([this] { OnBufferDone(); }) {}

bool CMp3Player::Open(const char* path) {
  Close();
  return m_decoder.Open(path);
}

void CMp3Player::Close() {
  m_output.Close();
  m_decoder.Close();
  m_state = kStopped;
  m_baseMs = 0;
}

bool CMp3Player::Play() {
  if (!IsOpen()) return false;
  if (m_state == kPaused) {
    m_output.Resume();
    m_state = kPlaying;
    Fill();
  }
  if (m_state == kPlaying) return true;
  m_output.Open(m_decoder.PcmFormat(), m_useDevice);
  SetVolume(m_volume);
  m_baseMs = m_decoder.Seek(m_baseMs);
  m_decoderDone = false;
  Fill();
  if (m_output.QueuedCount() == 0) {  // nothing decodes: there is nothing to play
    Stop();
    return false;
  }
  m_state = kPlaying;
  return true;
}

void CMp3Player::Pause() {
  if (m_state != kPlaying) return;
  m_output.Pause();
  m_state = kPaused;
}

// A stopped player holds neither the sound device nor the codec; Play takes them again.
void CMp3Player::Stop() {
  m_output.Close();
  m_decoder.Rest();
  m_state = kStopped;
  m_baseMs = 0;
}

void CMp3Player::Seek(int64_t ms) {
  ms = std::min(std::max<int64_t>(ms, 0), LengthMs());
  if (m_state == kStopped) {
    m_baseMs = ms;
    return;
  }
  m_output.Reset();
  m_baseMs = m_decoder.Seek(ms);
  m_decoderDone = false;
  Fill();
  if (m_output.QueuedCount() == 0) OnBufferDone();  // sought to the very end
}

void CMp3Player::SetVolume(int percent) {
  m_volume = std::min(std::max(percent, 0), 100);
  DWORD level = DWORD(m_volume * m_volume * 0xFFFF / 10000);
  m_output.SetVolume(level | level << 16);
}

int64_t CMp3Player::PositionMs() const {
  if (m_state == kStopped) return m_baseMs;
  const WAVEFORMATEX& format = m_decoder.PcmFormat();
  int64_t played = int64_t(m_output.PlayedSamples() * 1000 / std::max<DWORD>(format.nSamplesPerSec, 1));
  return std::min(m_baseMs + played, LengthMs());
}

void CMp3Player::Fill() {
  while (!m_decoderDone) {
    uint8_t* buffer = m_output.FreeBuffer();
    if (!buffer) break;
    size_t bytes = m_decoder.Read(buffer, m_output.Capacity());
    if (bytes == 0) m_decoderDone = true;
    else m_output.Queue(bytes);
  }
}

// Refills what came back; once the decoder is done and the last buffer played, the track ends.
void CMp3Player::OnBufferDone() {
  if (m_state == kStopped) return;
  Fill();
  if (!m_decoderDone || m_output.QueuedCount() > 0) return;
  Stop();
  if (m_onEnded) m_onEnded();
}
