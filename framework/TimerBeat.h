// Timers that tick on whole multiples of their interval by the wall clock. Parts of the
// program that each tick once a second then wake it together, once, instead of each at a
// phase set by when it happened to start; a clock so paced also turns to the next minute on
// time.
#pragma once

#include <windows.h>

namespace timerbeat {
// Milliseconds the wall clock is now past its last whole multiple of `intervalMs`.
inline UINT MsPastBeat(UINT intervalMs) {
  if (intervalMs == 0) return 0;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULONGLONG ticks = ULONGLONG(now.dwHighDateTime) << 32 | now.dwLowDateTime;  // 100 ns
  return UINT(ticks % (ULONGLONG(intervalMs) * 10000) / 10000);
}
}  // namespace timerbeat

// Milliseconds from now to the next whole multiple of `intervalMs` by the wall clock. A tick
// that comes a little before its beat goes on to the one after, not to the same beat again.
inline UINT MsToNextBeat(UINT intervalMs) {
  if (intervalMs == 0) return 0;
  UINT ms = intervalMs - timerbeat::MsPastBeat(intervalMs);
  if (ms <= intervalMs / 20) ms += intervalMs;
  return ms;
}

// Keeps a timer on the beat with as few calls to SetTimer as it can: armed first for the
// next beat, then, once a tick comes on the beat, for the interval itself, which the system
// repeats without drifting. Only a tick that has come off the beat (the wall clock was set,
// or the program was kept busy) arms it for the next beat again.
class CTimerBeat {
 public:
  explicit CTimerBeat(UINT intervalMs) : m_interval(intervalMs) {}

  // The time to start the timer with.
  UINT First() {
    m_repeating = false;
    return MsToNextBeat(m_interval);
  }
  // At each tick: the time to arm the timer with again, or 0 to leave it as it is.
  UINT Next() {
    UINT past = timerbeat::MsPastBeat(m_interval);
    UINT off = past < m_interval / 2 ? past : m_interval - past;
    if (off > m_interval / 20) return First();
    if (m_repeating) return 0;
    m_repeating = true;
    return m_interval;
  }

 private:
  UINT m_interval;
  bool m_repeating = false;
};
