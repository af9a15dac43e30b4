// What a system monitor measures: CPU use in percent over the last interval, or memory in
// use in megabytes.
#pragma once

#include <windows.h>

class CMonitorSampler {
 public:
  enum Kind { kCpu = 0, kMemory = 1 };
  explicit CMonitorSampler(Kind kind);
  Kind GetKind() const { return m_kind; }
  // The next reading; for CPU the first reading after construction is 0.
  double Sample();
  // Megabytes of physical memory in the machine (the natural top of the memory scale).
  static double TotalMemoryMb();

 private:
  double SampleCpu();
  static double SampleMemory();
  Kind m_kind;
  ULONGLONG m_lastIdle = 0, m_lastTotal = 0;
};
