// Sound output for the player: a ring of PCM buffers played through waveOut, or, where no
// sound device can be opened, through a clock of its own that takes each buffer in real
// time, so positions and the end of a track come just the same. Completions arrive as
// window messages on the thread that opened it; no other thread is involved.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/Handles.h"
#include "ocx/mp3/AudioHandles.h"

class CWaveOutput {
 public:
  // `onBufferDone` runs (on this thread) whenever queued buffers have been played.
  explicit CWaveOutput(std::function<void()> onBufferDone);
  ~CWaveOutput();
  CWaveOutput(const CWaveOutput&) = delete;
  CWaveOutput& operator=(const CWaveOutput&) = delete;

  // Opens the default device for `format` or, when that fails or `useDevice` is false, the clock.
  void Open(const WAVEFORMATEX& format, bool useDevice);
  void Close();
  bool IsOpen() const { return m_open; }
  bool OnDevice() const { return bool(m_device); }

  // Bytes per buffer (a fifth of a second), and a free buffer to fill, or nullptr.
  size_t Capacity() const { return m_capacity; }
  uint8_t* FreeBuffer();
  // Plays the first `bytes` of the buffer FreeBuffer last gave.
  void Queue(size_t bytes);
  size_t QueuedCount() const;

  void Pause();
  void Resume();
  // Drops everything queued; the played count starts again at 0.
  void Reset();
  uint64_t PlayedSamples() const;

  // Device volume, low word left and high word right (0xFFFF full); kept across Open.
  void SetVolume(DWORD level);
  DWORD DeviceVolume() const;

 private:
  static constexpr size_t kBuffers = 6;
  static constexpr UINT_PTR kClockTimer = 1;
  struct Buffer {
    std::vector<uint8_t> data;
    WAVEHDR header{};
    bool queued = false;
    uint64_t endSample = 0;  // clock: played once the clock passes this
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CollectPlayed();
  uint64_t ClockSamples() const;
  double NowMs() const;

  std::function<void()> m_onBufferDone;
  WindowHandle m_window;
  WaveOutHandle m_device;
  std::array<Buffer, kBuffers> m_buffers;
  Buffer* m_filling = nullptr;
  bool m_open = false, m_paused = false;
  size_t m_capacity = 0;
  DWORD m_rate = 0, m_blockAlign = 1, m_volume = 0xFFFFFFFF;
  // Clock: samples played before `m_clockStartMs`, and the end of what is queued.
  uint64_t m_clockBase = 0, m_queuedEnd = 0;
  double m_clockStartMs = 0;
};
