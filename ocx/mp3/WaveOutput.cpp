#include "ocx/mp3/WaveOutput.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/Trace.h"

namespace {
const char kWindowClass[] = "Tidybar.WaveOutput";
constexpr UINT kClockTickMs = 50;

HWND CreateMessageWindow(WNDPROC procedure, void* owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  HWND window =
      CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  return window;
}
}  // namespace

CWaveOutput::CWaveOutput(std::function<void()> onBufferDone) : m_onBufferDone(std::move(onBufferDone)) {}

CWaveOutput::~CWaveOutput() {
  Close();
  if (m_window) SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, 0);
}

void CWaveOutput::Open(const WAVEFORMATEX& format, bool useDevice) {
  Close();
  if (!m_window) m_window.Reset(CreateMessageWindow(&CWaveOutput::WindowProc, this));
  m_format = format;
  m_format.cbSize = 0;
  m_rate = std::max<DWORD>(format.nSamplesPerSec, 1);
  m_blockAlign = std::max<DWORD>(format.nBlockAlign, 1);
  m_capacity = size_t(m_rate / 5) * m_blockAlign;
  for (Buffer& buffer : m_buffers) buffer.data.resize(m_capacity);
  m_open = true;
  m_paused = false;
  m_clockBase = m_queuedEnd = 0;
  m_clockStartMs = NowMs();
  // A timer comes only when no paint, input or posted message waits: the idle moment.
  m_deviceDue = useDevice && m_window && SetTimer(m_window.Get(), kDeviceTimer, USER_TIMER_MINIMUM, nullptr);
  if (!m_deviceDue && m_window) StartClock();
}

void CWaveOutput::Close() {
  if (m_window) {
    KillTimer(m_window.Get(), kClockTimer);
    KillTimer(m_window.Get(), kDeviceTimer);
  }
  Reset();
  m_device.Reset();
  m_open = m_paused = m_deviceDue = false;
  for (Buffer& buffer : m_buffers) std::vector<uint8_t>().swap(buffer.data);  // an idle player keeps no sound
  m_capacity = 0;
}

// Opens the device asked for, hands it what waited, in order, from its first sample, and
// asks for the rest of the ring to be filled.
void CWaveOutput::OpenDueDevice() {
  KillTimer(m_window.Get(), kDeviceTimer);
  if (!std::exchange(m_deviceDue, false)) return;
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &m_format, reinterpret_cast<DWORD_PTR>(m_window.Get()), 0,
                  CALLBACK_WINDOW) == MMSYSERR_NOERROR) {
    m_device.Reset(device);
    waveOutSetVolume(device, m_volume);
    if (m_paused) waveOutPause(device);
    WriteWaiting();
  } else if (!m_paused) {
    StartClock();  // nothing has played: the clock takes every buffer from the first
  }
  if (m_onBufferDone) m_onBufferDone();
}

void CWaveOutput::WriteWaiting() {
  while (Buffer* next = OldestUnwritten()) {
    if (!Write(*next)) {
      FallBackToClock();
      return;
    }
  }
}

CWaveOutput::Buffer* CWaveOutput::OldestUnwritten() {
  Buffer* oldest = nullptr;
  for (Buffer& buffer : m_buffers) {
    bool unwritten = buffer.queued && !(buffer.header.dwFlags & WHDR_PREPARED);
    if (unwritten && (!oldest || buffer.endSample < oldest->endSample)) oldest = &buffer;
  }
  return oldest;
}

// Hands a filled buffer (its header says how much of it) to the device.
bool CWaveOutput::Write(Buffer& buffer) {
  HWAVEOUT device = m_device.Get();
  return waveOutPrepareHeader(device, &buffer.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR &&
         waveOutWrite(device, &buffer.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

// The device went away or never came: what it held is lost, the rest plays on the clock.
void CWaveOutput::FallBackToClock() {
  uint64_t played = PlayedSamples();
  Reset();
  m_device.Reset();
  m_clockBase = m_queuedEnd = played;
  if (!m_paused) StartClock();
}

void CWaveOutput::StartClock() {
  m_clockStartMs = NowMs();
  TRACE_IF_FALSE(SetTimer(m_window.Get(), kClockTimer, kClockTickMs, nullptr));
}

uint8_t* CWaveOutput::FreeBuffer() {
  m_filling = nullptr;
  if (!m_open || (m_deviceDue && QueuedCount() >= kBuffersBeforeDevice)) return nullptr;
  for (Buffer& buffer : m_buffers) {
    if (buffer.queued) continue;
    m_filling = &buffer;
    return buffer.data.data();
  }
  return nullptr;
}

void CWaveOutput::Queue(size_t bytes) {
  Buffer* buffer = std::exchange(m_filling, nullptr);
  bytes = std::min(bytes, m_capacity);
  bytes -= bytes % m_blockAlign;
  if (!buffer || bytes == 0) return;
  buffer->header = WAVEHDR{};
  buffer->header.lpData = reinterpret_cast<LPSTR>(buffer->data.data());
  buffer->header.dwBufferLength = DWORD(bytes);
  if (m_device) {
    if (Write(*buffer)) {
      buffer->queued = true;
      m_queuedEnd += bytes / m_blockAlign;
      return;
    }
    FallBackToClock();
  }
  if (QueuedCount() == 0 && !m_deviceDue) {  // an idle clock waits for sound, as a device does
    m_clockBase = ClockSamples();
    m_clockStartMs = NowMs();
  }
  m_queuedEnd += bytes / m_blockAlign;
  buffer->endSample = m_queuedEnd;
  buffer->queued = true;
}

size_t CWaveOutput::QueuedCount() const {
  return size_t(std::count_if(m_buffers.begin(), m_buffers.end(), [](const Buffer& b) { return b.queued; }));
}

void CWaveOutput::Pause() {
  if (!m_open || m_paused) return;
  if (m_device) {
    waveOutPause(m_device.Get());
  } else if (!m_deviceDue) {
    m_clockBase = ClockSamples();
    KillTimer(m_window.Get(), kClockTimer);  // nothing to watch while paused
  }
  m_paused = true;
}

void CWaveOutput::Resume() {
  if (!m_open || !m_paused) return;
  if (m_device) {
    waveOutRestart(m_device.Get());
  } else if (!m_deviceDue) {
    StartClock();
  }
  m_paused = false;
}

void CWaveOutput::Reset() {
  if (m_device) {
    waveOutReset(m_device.Get());
    if (m_paused) waveOutPause(m_device.Get());
    for (Buffer& buffer : m_buffers)
      if (buffer.header.dwFlags & WHDR_PREPARED)
        waveOutUnprepareHeader(m_device.Get(), &buffer.header, sizeof(WAVEHDR));
  }
  for (Buffer& buffer : m_buffers) buffer.queued = false;
  m_filling = nullptr;
  m_clockBase = m_queuedEnd = 0;
  m_clockStartMs = NowMs();
}

uint64_t CWaveOutput::PlayedSamples() const {
  if (!m_device) return ClockSamples();
  MMTIME time{};
  time.wType = TIME_SAMPLES;
  if (waveOutGetPosition(m_device.Get(), &time, sizeof time) != MMSYSERR_NOERROR) return 0;
  uint64_t samples = time.wType == TIME_BYTES ? time.u.cb / m_blockAlign : time.u.sample;
  return std::min(samples, m_queuedEnd);
}

uint64_t CWaveOutput::ClockSamples() const {
  if (m_paused || m_deviceDue) return m_clockBase;
  double elapsed = std::max(NowMs() - m_clockStartMs, 0.0);
  return std::min(m_clockBase + uint64_t(elapsed * m_rate / 1000.0), m_queuedEnd);
}

double CWaveOutput::NowMs() const {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

void CWaveOutput::SetVolume(DWORD level) {
  m_volume = level;
  if (m_device) waveOutSetVolume(m_device.Get(), level);
}

DWORD CWaveOutput::DeviceVolume() const {
  DWORD level = 0;
  if (!m_device || waveOutGetVolume(m_device.Get(), &level) != MMSYSERR_NOERROR) return m_volume;
  return level;
}

// Takes back the buffers that have been played and lets the owner fill them again.
void CWaveOutput::CollectPlayed() {
  uint64_t played = m_device ? 0 : ClockSamples();
  bool any = false;
  for (Buffer& buffer : m_buffers) {
    if (!buffer.queued) continue;
    bool done = m_device ? (buffer.header.dwFlags & WHDR_DONE) != 0 : buffer.endSample <= played;
    if (!done) continue;
    if (m_device) waveOutUnprepareHeader(m_device.Get(), &buffer.header, sizeof(WAVEHDR));
    buffer.queued = false;
    any = true;
  }
  if (any && m_onBufferDone) m_onBufferDone();
}

LRESULT CALLBACK CWaveOutput::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CWaveOutput*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && message == WM_TIMER && wParam == kDeviceTimer) {
    AfxGuard([self] { self->OpenDueDevice(); });
    return 0;
  }
  bool ours = message == MM_WOM_DONE || (message == WM_TIMER && wParam == kClockTimer);
  if (!self || !ours) return DefWindowProcA(window, message, wParam, lParam);
  AfxGuard([self] { self->CollectPlayed(); });
  return 0;
}
