// The pace of the system monitors: one timer per interval, shared by every monitor that
// samples at that interval. Each timer tick wakes the whole program, so two monitors on the
// bar cost one wake-up a second instead of two; the ticks fall on whole multiples of the
// interval by the wall clock, where the bar's clock ticks too.
#pragma once

#include <windows.h>

#include <functional>

class CSampleClock {
 public:
  using Listener = std::function<void()>;
  // `owner` identifies the listener for Leave.
  static void Join(const void* owner, UINT intervalMs, Listener listener);
  static void Leave(const void* owner);
  static size_t RunningTimers();
};
