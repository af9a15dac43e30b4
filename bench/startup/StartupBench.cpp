// Start-up of the bar beside a bare dialog program, run alternately, each followed by the
// id of the process this bench started (another copy may be running).
// Usage: startup_bench <tidybar.exe> <minimal_dialog.exe> [runs]
// Three moments are taken from CreateProcess on: the program's first visible window; the end
// of its first paint, when the window's pixels as read back from the X server (a screen
// device context) outside the controls that change by themselves have stopped changing for
// a while, which is what the user waits for; and the whole window still, which also waits
// for the clock, the meters and the start-up sound's progress to pause.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/Screen.h"
#include "bench/support/Stats.h"

#include "bench/support/Clock.h"

namespace {
using bench::ScreenDigest;
using bench::ShownWindow;

const double kQuietMs = 300;     // unchanged this long: painting is over
const double kGiveUpMs = 15000;  // a program that never shows a window

// The bar's controls that change by themselves: the meters, the clock, and the player's
// display and seek slider, which follow the start-up sound.
const std::vector<int> kLiveControls = {1001, 1003, 1017, 1031, 1033};

struct Run {
  double firstWindowMs = -1;
  double paintedMs = -1;      // the whole window still
  double ownPaintMs = -1;     // the window outside its live controls still: its first paint over
};

// When a window's pixels last changed, from `start`, once they have been still for a while.
struct StillWatch {
  unsigned long long last = 0;
  double lastChange = 0;
  bool Still(double now) const { return now - lastChange >= kQuietMs; }
  void See(unsigned long long digest, double now) {
    if (digest != last) lastChange = now, last = digest;
  }
};

void Watch(DWORD pid, HWND window, double start, Run& run) {
  StillWatch whole, own;
  double now = NowMs();
  whole.lastChange = own.lastChange = now;
  while (!(whole.Still(now) && own.Still(now)) && now - start < kGiveUpMs) {
    HWND shown = ShownWindow(pid);  // a dialog may replace its first window
    if (shown) window = shown;
    now = NowMs();
    whole.See(ScreenDigest(window), now);
    own.See(ScreenDigest(window, bench::ChildRects(window, kLiveControls)), now);
    Sleep(2);
    now = NowMs();
  }
  run.paintedMs = whole.lastChange - start;
  run.ownPaintMs = own.lastChange - start;
}

Run StartAndWatch(const std::string& program) {
  PROCESS_INFORMATION process{};
  Run run;
  double start = NowMs();
  if (!bench::StartProcess(program, "", process)) return run;
  HWND window = nullptr;
  while (!(window = ShownWindow(process.dwProcessId)) && NowMs() - start < kGiveUpMs) Sleep(1);
  if (window) {
    run.firstWindowMs = NowMs() - start;
    Watch(process.dwProcessId, window, start, run);
    if (HWND shown = ShownWindow(process.dwProcessId)) window = shown;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  bench::EndProcess(process);
  return run;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: startup_bench <tidybar.exe> <minimal_dialog.exe> [runs]\n");
    return 2;
  }
  const std::string bar = argv[1], reference = argv[2];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;

  std::vector<double> barFirst, barOwn, barPainted, refFirst, refOwn, refPainted;
  for (int i = 0; i < runs; ++i) {
    Run r = StartAndWatch(reference);
    Run b = StartAndWatch(bar);
    if (r.paintedMs < 0 || b.paintedMs < 0) {
      std::printf("run %d: a program showed no window\n", i + 1);
      return 1;
    }
    refFirst.push_back(r.firstWindowMs), refOwn.push_back(r.ownPaintMs), refPainted.push_back(r.paintedMs);
    barFirst.push_back(b.firstWindowMs), barOwn.push_back(b.ownPaintMs), barPainted.push_back(b.paintedMs);
    std::printf("run %d: bar first window %.0f ms, first paint %.0f ms, still %.0f ms; bare dialog %.0f, %.0f, %.0f ms\n",
                i + 1, b.firstWindowMs, b.ownPaintMs, b.paintedMs, r.firstWindowMs, r.ownPaintMs, r.paintedMs);
  }
  std::printf("start-up, %d runs (reference: a bare dialog program). First paint: the window outside the bar's live\n"
              "controls (meters, clock, player display and seek slider) unchanged for %.0f ms; still: the whole window\n"
              "unchanged for as long, which waits for the live controls' changes too. The ratio is of the first paint.\n",
              runs, kQuietMs);
  PrintSpread("bar, to the end of its first paint", barOwn, "ms", 0);
  PrintSpread("bare dialog, to the end of its first paint", refOwn, "ms", 0);
  PrintSpread("ratio bar / bare dialog", Ratios(barOwn, refOwn), "x", 2);
  PrintSpread("bar, to the whole window still", barPainted, "ms", 0);
  PrintSpread("bare dialog, to the whole window still", refPainted, "ms", 0);
  PrintSpread("ratio of the whole window still", Ratios(barPainted, refPainted), "x", 2);
  PrintSpread("bar, to first window", barFirst, "ms", 0);
  PrintSpread("bare dialog, to first window", refFirst, "ms", 0);
  return 0;
}
