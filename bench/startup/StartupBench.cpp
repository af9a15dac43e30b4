// Start-up and idle cost of the bar beside a minimal dialog program, run alternately.
// Usage: startup_bench <tidybar.exe> <minimal_dialog.exe> [runs] [idle seconds]
// Start-up is the time from CreateProcess until the program's first window is shown and
// its thread waits for input (it has painted). Then both programs are kept up, idle, for
// the given seconds while the run script measures them from outside.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
struct Started {
  PROCESS_INFORMATION info{};
  double startMs = 0;
};

double NowMs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

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

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/")); }

bool Start(const std::string& program, Started& started) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string commandLine = "\"" + program + "\"";
  std::string folder = FolderOf(program);
  started.startMs = NowMs();
  return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &started.info);
}

// Milliseconds until a window is up and painted, or -1.
double TimeToFirstPaint(Started& started) {
  for (int i = 0; i < 3000; ++i) {
    HWND window = ShownWindow(started.info.dwProcessId);
    if (window) {
      WaitForInputIdle(started.info.hProcess, 10000);
      UpdateWindow(window);
      return NowMs() - started.startMs;
    }
    Sleep(1);
  }
  return -1;
}

void Stop(Started& started) {
  HWND window = ShownWindow(started.info.dwProcessId);
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.info.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(started.info.hProcess, 0);
  CloseHandle(started.info.hThread);
  CloseHandle(started.info.hProcess);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: startup_bench <tidybar.exe> <minimal_dialog.exe> [runs] [idle seconds]\n");
    return 2;
  }
  const std::string bar = argv[1], reference = argv[2];
  const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
  const int idleSeconds = argc > 4 ? std::atoi(argv[4]) : 30;

  std::vector<double> barTimes, referenceTimes;
  for (int i = 0; i < runs; ++i) {
    for (const std::string* program : {&reference, &bar}) {
      Started started;
      if (!Start(*program, started)) {
        std::printf("cannot start %s (error %lu)\n", program->c_str(), GetLastError());
        return 1;
      }
      double ms = TimeToFirstPaint(started);
      (program == &bar ? barTimes : referenceTimes).push_back(ms);
      Stop(started);
    }
  }
  double barStart = Median(barTimes), referenceStart = Median(referenceTimes);
  std::printf("start-up to first paint: bar %.1f ms, minimal dialog %.1f ms, ratio %.2f (median of %d)\n", barStart,
              referenceStart, barStart / referenceStart, runs);

  // Idle: both programs stay up for the given seconds; the run script reads their CPU time
  // and resident memory from the system meanwhile.
  Started idleBar, idleReference;
  Start(bar, idleBar);
  Start(reference, idleReference);
  TimeToFirstPaint(idleBar);
  TimeToFirstPaint(idleReference);
  std::printf("idle phase: both programs up for %d s\n", idleSeconds);
  std::fflush(stdout);
  Sleep(DWORD(idleSeconds) * 1000);
  Stop(idleBar);
  Stop(idleReference);
  return 0;
}
