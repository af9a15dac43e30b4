#include "ocx/monitor/MonitorSampler.h"

namespace {
ULONGLONG Ticks(const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
const double kMegabyte = 1024.0 * 1024.0;
}  // namespace

CMonitorSampler::CMonitorSampler(Kind kind) : m_kind(kind) {
  if (kind == kCpu) SampleCpu();
}

double CMonitorSampler::Sample() { return m_kind == kCpu ? SampleCpu() : SampleMemory(); }

// Kernel time includes idle time, so busy = total - idle.
double CMonitorSampler::SampleCpu() {
  FILETIME idle, kernel, user;
  if (!GetSystemTimes(&idle, &kernel, &user)) return 0;
  ULONGLONG idleNow = Ticks(idle), totalNow = Ticks(kernel) + Ticks(user);
  ULONGLONG idleDelta = idleNow - m_lastIdle, totalDelta = totalNow - m_lastTotal;
  bool first = m_lastTotal == 0;
  m_lastIdle = idleNow;
  m_lastTotal = totalNow;
  if (first || totalDelta == 0 || idleDelta > totalDelta) return 0;
  return 100.0 * double(totalDelta - idleDelta) / double(totalDelta);
}

double CMonitorSampler::SampleMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return double(status.ullTotalPhys - status.ullAvailPhys) / kMegabyte;
}

double CMonitorSampler::TotalMemoryMb() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  return GlobalMemoryStatusEx(&status) ? double(status.ullTotalPhys) / kMegabyte : 0;
}
