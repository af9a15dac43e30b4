// Plays one MP3 file at a time: open, play, pause, resume, stop and seek, with positions
// in milliseconds. Decoding happens on this thread as the output hands buffers back, a
// fifth of a second at a time, with a little over a second of sound queued ahead.
#pragma once

#include <cstdint>
#include <functional>

#include "ocx/mp3/Mp3Contract.h"
#include "ocx/mp3/Mp3Decoder.h"
#include "ocx/mp3/WaveOutput.h"

class CMp3Player {
 public:
  // Numbered as the control's GetState answers them.
  using State = mp3contract::PlayState;
  static constexpr State kStopped = mp3contract::kStopped, kPlaying = mp3contract::kPlaying,
                         kPaused = mp3contract::kPaused;

  // `onEnded` runs when a track plays to its end, or at once when Seek goes to its very end.
  explicit CMp3Player(std::function<void()> onEnded = nullptr);

  // Stops what plays and opens `path`; false (and nothing open) when it cannot be played.
  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return m_decoder.IsOpen(); }

  // Starts from the current position, or resumes; false when nothing can be played.
  bool Play();
  void Pause();
  // Stops, lets the sound device and codec go, and goes back to the start.
  void Stop();
  // Moves to `ms` (clamped to the track); playing or paused playback goes on from there.
  void Seek(int64_t ms);
  // 0..100; the device volume follows the square of it, which the ear hears as even steps.
  void SetVolume(int percent);
  int Volume() const { return m_volume; }
  // Off: play by the clock alone even where a sound device exists (tests, benches).
  void UseSoundDevice(bool use) { m_useDevice = use; }

  State GetState() const { return m_state; }
  int64_t PositionMs() const;
  int64_t LengthMs() const { return m_decoder.LengthMs(); }
  const CWaveOutput& Output() const { return m_output; }
  const CMp3Decoder& Decoder() const { return m_decoder; }

 private:
  void Fill();
  void OnBufferDone();

  std::function<void()> m_onEnded;
  CMp3Decoder m_decoder;
  CWaveOutput m_output;
  State m_state = kStopped;
  int64_t m_baseMs = 0;  // the position where the output's played count began
  bool m_decoderDone = false;
  bool m_useDevice = true;
  int m_volume = 100;
};
