#include "framework/Trace.h"

#include <windows.h>

#include <cstdio>

namespace {
double MsSinceProcessCreated() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER from{{created.dwLowDateTime, created.dwHighDateTime}}, to{{now.dwLowDateTime, now.dwHighDateTime}};
  return double(to.QuadPart - from.QuadPart) / 10000.0;
}
}  // namespace

void trace::Step(const char* topic, const char* step) {
  char line[160];
  std::snprintf(line, sizeof line, "tidybar %s: %7.1f ms %s\n", topic, MsSinceProcessCreated(), step);
  OutputDebugStringA(line);
}

void trace::StartupStep(const char* step) { Step("start-up", step); }
