// Sound output for the player: a ring of PCM buffers played through waveOut, or, where no
// sound device can be opened, through a clock of its own that takes each buffer in real
// time, so positions and the end of a track come just the same. Completions arrive as
// window messages on the thread that opened it; no other thread is involved.
// Opening a device takes Wine tens of milliseconds (it loads and tries its sound drivers),
// so the device opens only once the thread has no painting, input or posted work waiting:
// a window shown with the first sound paints first. Until then one buffer waits, unplayed,
// enough to know the sound decodes; the rest are decoded once the device is open.
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
  // `onBufferDone` runs (on this thread) whenever queued buffers have been played, and
  // once the device asked for is open (or has failed and the clock plays).
  explicit CWaveOutput(std::function<void()> onBufferDone);
  ~CWaveOutput();
  CWaveOutput(const CWaveOutput&) = delete;
  CWaveOutput& operator=(const CWaveOutput&) = delete;

  // Asks for the default device for `format`, which opens once the thread is idle; when that
  // fails, or at once when `useDevice` is false, the clock plays instead.
  void Open(const WAVEFORMATEX& format, bool useDevice);
  // Closes the device and lets the buffers go.
  void Close();
  bool IsOpen() const { return m_open; }
  bool OnDevice() const { return bool(m_device); }
  bool DeviceDue() const { return m_deviceDue; }

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
  static constexpr size_t kBuffersBeforeDevice = 1;
  static constexpr UINT_PTR kClockTimer = 1, kDeviceTimer = 2;
  struct Buffer {
    std::vector<uint8_t> data;
    WAVEHDR header{};
    bool queued = false;
    uint64_t endSample = 0;  // played once this many samples are; orders buffers kept for the device
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OpenDueDevice();
  void WriteWaiting();
  Buffer* OldestUnwritten();
  bool Write(Buffer& buffer);
  void FallBackToClock();
  void StartClock();
  void CollectPlayed();
  uint64_t ClockSamples() const;
  double NowMs() const;

  std::function<void()> m_onBufferDone;
  WindowHandle m_window;
  WaveOutHandle m_device;
  std::array<Buffer, kBuffers> m_buffers;
  Buffer* m_filling = nullptr;
  bool m_open = false, m_paused = false;
  bool m_deviceDue = false;  // the device opens at the next idle moment; nothing plays till then
  WAVEFORMATEX m_format{};
  size_t m_capacity = 0;
  DWORD m_rate = 0, m_blockAlign = 1, m_volume = 0xFFFFFFFF;
  // Clock: samples played before `m_clockStartMs`, and the end of what is queued.
  uint64_t m_clockBase = 0, m_queuedEnd = 0;
  double m_clockStartMs = 0;
};
