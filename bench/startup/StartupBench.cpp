// Start-up of the bar beside a bare dialog program, run alternately, each followed by the
// id of the process this bench started (another copy may be running).
// Usage: startup_bench <tidybar.exe> <minimal_dialog.exe> [runs]
// Two moments are taken from CreateProcess on: the program's first visible window, and the
// end of its painting, when the window's pixels as read back from the X server (a screen
// device context) have stopped changing for a while. The second is what the user waits for.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/Stats.h"

#include "bench/support/Clock.h"

namespace {
const double kQuietMs = 300;     // unchanged this long: painting is over
const double kGiveUpMs = 15000;  // a program that never shows a window

struct FindWindowOf {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK VisibleWindowOf(HWND window, LPARAM lParam) {
  auto* find = reinterpret_cast<FindWindowOf*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != find->pid || !IsWindowVisible(window)) return TRUE;
  find->found = window;
  return FALSE;
}

HWND ShownWindow(DWORD pid) {
  FindWindowOf find{pid, nullptr};
  EnumWindows(&VisibleWindowOf, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// A digest of what the X server shows of `window` now, its place included.
unsigned long long ScreenDigest(HWND window) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return 0;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  unsigned long long digest = 1469598103934665603ull;
  auto mix = [&digest](unsigned value) { digest = (digest ^ value) * 1099511628211ull; };
  mix(unsigned(rect.left)), mix(unsigned(rect.top)), mix(unsigned(width)), mix(unsigned(height));
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    const unsigned* pixel = static_cast<const unsigned*>(bits);
    for (int i = 0; i < width * height; ++i) mix(pixel[i]);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return digest;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/")); }

struct Run {
  double firstWindowMs = -1;
  double paintedMs = -1;
};

Run StartAndWatch(const std::string& program) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program + "\"";
  std::string folder = FolderOf(program);
  Run run;
  double start = NowMs();
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                      &process))
    return run;
  HWND window = nullptr;
  while (!(window = ShownWindow(process.dwProcessId)) && NowMs() - start < kGiveUpMs) Sleep(1);
  if (window) {
    run.firstWindowMs = NowMs() - start;
    unsigned long long last = ScreenDigest(window);
    double lastChange = NowMs();
    for (double now = lastChange; now - lastChange < kQuietMs && now - start < kGiveUpMs; now = NowMs()) {
      Sleep(2);
      HWND shown = ShownWindow(process.dwProcessId);  // a dialog may replace its first window
      if (shown) window = shown;
      unsigned long long digest = ScreenDigest(window);
      if (digest != last) lastChange = NowMs(), last = digest;
    }
    run.paintedMs = lastChange - start;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
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

  std::vector<double> barFirst, barPainted, refFirst, refPainted;
  for (int i = 0; i < runs; ++i) {
    Run r = StartAndWatch(reference);
    Run b = StartAndWatch(bar);
    if (r.paintedMs < 0 || b.paintedMs < 0) {
      std::printf("run %d: a program showed no window\n", i + 1);
      return 1;
    }
    refFirst.push_back(r.firstWindowMs), refPainted.push_back(r.paintedMs);
    barFirst.push_back(b.firstWindowMs), barPainted.push_back(b.paintedMs);
    std::printf("run %d: bar first window %.0f ms, painted %.0f ms; bare dialog %.0f ms, %.0f ms\n", i + 1,
                b.firstWindowMs, b.paintedMs, r.firstWindowMs, r.paintedMs);
  }
  std::printf(
      "start-up, %d runs (reference: a bare dialog program; painted = the X server's pixels still for %.0f ms)\n", runs,
      kQuietMs);
  PrintSpread("bar, to finished painting", barPainted, "ms", 0);
  PrintSpread("bare dialog, to finished painting", refPainted, "ms", 0);
  PrintSpread("ratio bar / bare dialog", Ratios(barPainted, refPainted), "x", 2);
  PrintSpread("bar, to first window", barFirst, "ms", 0);
  PrintSpread("bare dialog, to first window", refFirst, "ms", 0);
  PrintSpread(
      "bar, painting after first window",
      [&] {
        std::vector<double> tail;
        for (size_t i = 0; i < barFirst.size(); ++i) tail.push_back(barPainted[i] - barFirst[i]);
        return tail;
      }(),
      "ms", 0);
  return 0;
}
