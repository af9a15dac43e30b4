// Start-up and idle cost of the bar beside a minimal dialog program, run alternately.
// Usage: startup_bench <tidybar.exe> <minimal_dialog.exe> [runs] [idle seconds]
// Start-up is the time from CreateProcess until the program's first window is shown and
// its thread waits for input (it has painted). Idle: CPU time used and working set after
// the given seconds with nothing to do.
#include <windows.h>
#include <psapi.h>

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

double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0; };
  return ms(kernel) + ms(user);
}

double WorkingSetKb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return double(counters.WorkingSetSize) / 1024.0;
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

  Started idleBar, idleReference;
  Start(bar, idleBar);
  Start(reference, idleReference);
  TimeToFirstPaint(idleBar);
  TimeToFirstPaint(idleReference);
  Sleep(2000);  // let start-up work settle before measuring idle
  double barCpu0 = CpuMs(idleBar.info.hProcess), referenceCpu0 = CpuMs(idleReference.info.hProcess);
  Sleep(DWORD(idleSeconds) * 1000);
  double barCpu = CpuMs(idleBar.info.hProcess) - barCpu0;
  double referenceCpu = CpuMs(idleReference.info.hProcess) - referenceCpu0;
  double barSet = WorkingSetKb(idleBar.info.hProcess), referenceSet = WorkingSetKb(idleReference.info.hProcess);
  std::printf("idle %d s: bar CPU %.1f ms (%.3f%% of a core), minimal dialog %.1f ms (%.3f%%)\n", idleSeconds, barCpu,
              barCpu / (idleSeconds * 10.0), referenceCpu, referenceCpu / (idleSeconds * 10.0));
  std::printf("working set after idle: bar %.0f KiB, minimal dialog %.0f KiB, ratio %.2f\n", barSet, referenceSet,
              barSet / referenceSet);
  Stop(idleBar);
  Stop(idleReference);
  return 0;
}
