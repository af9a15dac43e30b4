#include "ocx/monitor/SampleClock.h"

#include <map>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/TimerBeat.h"
#include "framework/Trace.h"

namespace {
struct Member {
  const void* owner;
  CSampleClock::Listener listener;
};

struct Pace {
  explicit Pace(UINT intervalMs) : beat(intervalMs) {}
  UINT_PTR timer = 0;
  CTimerBeat beat;
  std::vector<Member> members;
};

std::map<UINT, Pace>& Paces() {
  static std::map<UINT, Pace> paces;
  return paces;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  for (auto& [interval, pace] : Paces()) {
    if (pace.timer != timer) continue;
    std::vector<Member> members = pace.members;  // a listener may leave while it runs
    for (const Member& member : members) AfxGuard([&] { member.listener(); });
    break;
  }
  // Kept on the beat, unless the last listener has left meanwhile.
  for (auto& [interval, pace] : Paces()) {
    if (pace.timer != timer) continue;
    if (UINT next = pace.beat.Next()) TRACE_IF_FALSE(SetTimer(nullptr, timer, next, &Tick));
    break;
  }
}
}  // namespace

void CSampleClock::Join(const void* owner, UINT intervalMs, Listener listener) {
  Leave(owner);
  Pace& pace = Paces().try_emplace(intervalMs, intervalMs).first->second;
  pace.members.push_back({owner, std::move(listener)});
  if (!pace.timer) pace.timer = SetTimer(nullptr, 0, pace.beat.First(), &Tick);
}

void CSampleClock::Leave(const void* owner) {
  for (auto it = Paces().begin(); it != Paces().end();) {
    auto& members = it->second.members;
    for (auto m = members.begin(); m != members.end();) m = m->owner == owner ? members.erase(m) : m + 1;
    if (members.empty()) {
      if (it->second.timer) KillTimer(nullptr, it->second.timer);
      it = Paces().erase(it);
    } else {
      ++it;
    }
  }
}

size_t CSampleClock::RunningTimers() { return Paces().size(); }
