// The click that opens a category window, beside a reference program run alternately in
// the same Wine session: each program is started, left to settle, and its button 1046 (the
// bar's Office button) is clicked through real mouse input. Taken from the click on: the
// window's first showing, and the end of its painting, when its pixels as read back from the
// X server have stopped changing for a while: every visible item then shows its own icon.
// Usage: selector_bench <tidybar.exe> <selector_reference.exe> <folder> [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "bench/support/Screen.h"
#include "bench/support/Stats.h"

#include "bench/support/Clock.h"

namespace {
const int kButtonId = 1046;
const DWORD kSettleMs = 3000;    // the program's own start-up is over
const double kQuietMs = 300;     // unchanged this long: painting is over
const double kGiveUpMs = 10000;  // a click that opens nothing

struct Run {
  double shownMs = -1;
  double paintedMs = -1;
};

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK ChildWithId(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ChildSearch*>(lParam);
  if (GetDlgCtrlID(window) != search->id || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND Button(DWORD pid) {
  for (HWND window : bench::ShownWindows(pid)) {
    ChildSearch search{kButtonId, nullptr};
    EnumChildWindows(window, &ChildWithId, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
  }
  return nullptr;
}

void MouseInput(DWORD flags, int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void Click(HWND button) {
  RECT rect;
  GetWindowRect(button, &rect);
  int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  MouseInput(MOUSEEVENTF_MOVE, x, y);
  Sleep(50);  // the button sees the pointer arrive before it is pressed, as with a hand
  MouseInput(MOUSEEVENTF_LEFTDOWN, x, y);
  MouseInput(MOUSEEVENTF_LEFTUP, x, y);
}

// From the click: the new window's first showing and its last change before it was still.
Run ClickAndWatch(DWORD pid, HWND button) {
  Run run;
  std::set<HWND> before = bench::ShownWindows(pid);
  double start = NowMs();
  Click(button);
  HWND window = nullptr;
  while (!(window = bench::ShownWindow(pid, &before)) && NowMs() - start < kGiveUpMs) Sleep(1);
  if (!window) return run;
  run.shownMs = NowMs() - start;
  unsigned long long last = bench::ScreenDigest(window);
  double lastChange = NowMs();
  for (double now = lastChange; now - lastChange < kQuietMs && now - start < kGiveUpMs; now = NowMs()) {
    Sleep(2);
    unsigned long long digest = bench::ScreenDigest(window);
    if (digest != last) lastChange = NowMs(), last = digest;
  }
  run.paintedMs = lastChange - start;
  return run;
}

Run StartClickAndWatch(const std::string& program, const std::string& argument) {
  PROCESS_INFORMATION process{};
  Run run;
  if (!bench::StartProcess(program, argument, process)) return run;
  WaitForInputIdle(process.hProcess, 5000);
  Sleep(kSettleMs);
  if (HWND button = Button(process.dwProcessId)) run = ClickAndWatch(process.dwProcessId, button);
  for (HWND window : bench::ShownWindows(process.dwProcessId)) PostMessageA(window, WM_CLOSE, 0, 0);
  bench::EndProcess(process);
  return run;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: selector_bench <tidybar.exe> <selector_reference.exe> <folder> [runs]\n");
    return 2;
  }
  const std::string bar = argv[1], reference = argv[2], folder = argv[3];
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 7;

  std::vector<double> barShown, barPainted, refShown, refPainted;
  for (int i = 0; i < runs; ++i) {
    Run r = StartClickAndWatch(reference, "\"" + folder + "\"");
    Run b = StartClickAndWatch(bar, "");
    if (r.paintedMs < 0 || b.paintedMs < 0) {
      std::printf("run %d: a click opened no window\n", i + 1);
      return 1;
    }
    refShown.push_back(r.shownMs), refPainted.push_back(r.paintedMs);
    barShown.push_back(b.shownMs), barPainted.push_back(b.paintedMs);
  }
  std::printf("click to category window, %d runs (reference: a bare list view with the shell's icons; painted = "
              "the X server's pixels still for %.0f ms)\n",
              runs, kQuietMs);
  PrintSpread("category window, to every visible icon", barPainted, "ms", 0);
  PrintSpread("bare list view, to every visible icon", refPainted, "ms", 0);
  PrintSpread("ratio category window / bare list view", Ratios(barPainted, refPainted), "x", 2);
  PrintSpread("category window, to first showing", barShown, "ms", 0);
  PrintSpread("bare list view, to first showing", refShown, "ms", 0);
  return 0;
}
