// The benches' clock: milliseconds from the performance counter.
#pragma once

#include <windows.h>

inline double NowMs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}
