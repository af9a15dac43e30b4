// Timers that tick on whole multiples of their interval by the wall clock, re-armed at each
// tick. Parts of the program that each tick once a second then wake it together, once,
// instead of each at a phase set by when it happened to start; a clock so paced also turns
// to the next minute on time.
#pragma once

#include <windows.h>

// Milliseconds from now to the next whole multiple of `intervalMs` by the wall clock. A tick
// that comes a little before its beat goes on to the one after, not to the same beat again.
inline UINT MsToNextBeat(UINT intervalMs) {
  if (intervalMs == 0) return 0;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULONGLONG ticks = ULONGLONG(now.dwHighDateTime) << 32 | now.dwLowDateTime;  // 100 ns
  ULONGLONG period = ULONGLONG(intervalMs) * 10000;
  UINT ms = UINT((period - ticks % period + 9999) / 10000);
  if (ms <= intervalMs / 20) ms += intervalMs;
  return ms;
}
