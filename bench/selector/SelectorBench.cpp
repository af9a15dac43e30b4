// The click that opens a category window, beside a reference program run alternately in
// the same Wine session: each program is started, left to settle, and its button 1046 (the
// bar's Office button) is clicked through real mouse input, as a person does: the pointer
// comes onto the button, rests there a moment, and presses. Measured twice, with a person's
// rest before the press and with a click that follows the pointer at once. Taken from the
// press on: the window's first showing, and the end of its painting, when its pixels as read
// back from the X server have stopped changing for a while: every visible item then shows its
// own icon.
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
const DWORD kRestMs = 300;       // a person's pointer rests this long before the press
const DWORD kQuickMs = 50;       // the button sees the pointer arrive before the press

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

// The pointer onto the button, `restMs` there, then a click; returns when the press was sent.
double Click(HWND button, DWORD restMs) {
  RECT rect;
  GetWindowRect(button, &rect);
  int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  MouseInput(MOUSEEVENTF_MOVE, x, y);
  Sleep(restMs);
  double pressed = NowMs();
  MouseInput(MOUSEEVENTF_LEFTDOWN, x, y);
  MouseInput(MOUSEEVENTF_LEFTUP, x, y);
  return pressed;
}

// From the press: the new window's first showing and its last change before it was still.
Run ClickAndWatch(DWORD pid, HWND button, DWORD restMs) {
  Run run;
  std::set<HWND> before = bench::ShownWindows(pid);
  double start = Click(button, restMs);
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

Run StartClickAndWatch(const std::string& program, const std::string& argument, DWORD restMs) {
  PROCESS_INFORMATION process{};
  Run run;
  // Away from every button: the program must not see the pointer before the bench moves it.
  MouseInput(MOUSEEVENTF_MOVE, GetSystemMetrics(SM_CXSCREEN) - 4, GetSystemMetrics(SM_CYSCREEN) - 4);
  if (!bench::StartProcess(program, argument, process)) return run;
  WaitForInputIdle(process.hProcess, 5000);
  Sleep(kSettleMs);
  if (HWND button = Button(process.dwProcessId)) run = ClickAndWatch(process.dwProcessId, button, restMs);
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

  for (DWORD restMs : {kRestMs, kQuickMs}) {
    std::vector<double> barShown, barPainted, refShown, refPainted;
    for (int i = 0; i < runs; ++i) {
      Run r = StartClickAndWatch(reference, "\"" + folder + "\"", restMs);
      Run b = StartClickAndWatch(bar, "", restMs);
      if (r.paintedMs < 0 || b.paintedMs < 0) {
        std::printf("run %d: a click opened no window\n", i + 1);
        return 1;
      }
      refShown.push_back(r.shownMs), refPainted.push_back(r.paintedMs);
      barShown.push_back(b.shownMs), barPainted.push_back(b.paintedMs);
    }
    std::printf(
        "press to category window after the pointer rested %lu ms on the button, %d runs (reference: a bare "
        "list view with the shell's icons; painted = the X server's pixels still for %.0f ms)\n",
        restMs, runs, kQuietMs);
    PrintSpread("category window, to every visible icon", barPainted, "ms", 0);
    PrintSpread("bare list view, to every visible icon", refPainted, "ms", 0);
    PrintSpread("ratio category window / bare list view", Ratios(barPainted, refPainted), "x", 2);
    PrintSpread("category window, to first showing", barShown, "ms", 0);
    PrintSpread("bare list view, to first showing", refShown, "ms", 0);
  }
  return 0;
}
