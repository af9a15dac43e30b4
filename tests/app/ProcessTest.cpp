// The program as a user starts it: a bar with no taskbar button, an icon in the
// notification area while it runs, independent copies, and nothing left behind at exit.
#include <windows.h>

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>

#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
std::string ProgramPath() {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, path, MAX_PATH);  // ...\tests\app\app_tests.exe
  std::string self(path);
  for (int i = 0; i < 3; ++i) self = self.substr(0, self.find_last_of('\\'));
  return self + "\\tidybar.exe";
}

struct Running {
  PROCESS_INFORMATION info{};
  HWND bar = nullptr;
};

struct FindBar {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK BarOf(HWND window, LPARAM lParam) {
  auto* find = reinterpret_cast<FindBar*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[32] = {0};
  GetClassNameA(window, cls, sizeof cls);
  if (pid != find->pid || !IsWindowVisible(window) || std::string(cls) != "#32770") return TRUE;
  find->found = window;
  return FALSE;
}

bool Start(const std::string& folder, Running& run) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string program = ProgramPath();
  std::string command = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                      &run.info))
    return false;
  return testkit::PumpUntil(
      [&] {
        FindBar find{run.info.dwProcessId, nullptr};
        EnumWindows(&BarOf, reinterpret_cast<LPARAM>(&find));
        run.bar = find.found;
        return run.bar != nullptr;
      },
      15000);
}

// Ends the program the way `end` does; its exit code, or STILL_ACTIVE when it did not end.
DWORD EndedBy(Running& run, void (*end)(HWND bar)) {
  end(run.bar);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(run.info.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(run.info.hProcess, &code);
  else TerminateProcess(run.info.hProcess, 1);
  CloseHandle(run.info.hThread);
  CloseHandle(run.info.hProcess);
  return code;
}

bool Ends(Running& run) {
  return EndedBy(run, [](HWND bar) { PostMessageA(bar, WM_CLOSE, 0, 0); }) != STILL_ACTIVE;
}

// Icons shown in Wine's own notification area (used when the desktop has none of its own).
int TrayIcons() {
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  int count = 0;
  for (HWND icon = tray ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr; icon;
       icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr))
    ++count;
  return count;
}

bool IconsBecome(int count) {
  return testkit::PumpUntil([&] { return TrayIcons() == count; }, 5000);
}

bool HasLoaded(const Running& run, const char* library) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, run.info.dwProcessId);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  bool found = false;
  for (BOOL more = Module32First(snapshot, &module); more && !found; more = Module32Next(snapshot, &module))
    found = lstrcmpiA(module.szModule, library) == 0;
  CloseHandle(snapshot);
  return found;
}
}  // namespace

TEST(Program, RunsAsAnOwnedBarWithATrayIconAndLeavesNothingAtExit) {
  testkit::ScratchDir folder("program");
  testkit::ScratchKey marker("Glade Inc.");
  ASSERT_EQ(TrayIcons(), 0);
  Running first, second;
  ASSERT_TRUE(Start(folder.path, first)) << ProgramPath();
  HWND owner = GetWindow(first.bar, GW_OWNER);
  EXPECT_NE(owner, nullptr) << "an owned window has no taskbar button";
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_TRUE(IconsBecome(1));

  ASSERT_TRUE(Start(folder.path, second)) << "no single-instance check";
  EXPECT_NE(second.bar, first.bar);
  EXPECT_TRUE(IconsBecome(2));

  EXPECT_TRUE(Ends(first));
  EXPECT_TRUE(IconsBecome(1)) << "the first copy's icon went with it";
  EXPECT_TRUE(Ends(second));
  EXPECT_TRUE(IconsBecome(0));
  DWORD type;
  std::vector<BYTE> bytes;
  EXPECT_FALSE(testkit::RawValue("Software\\Glade Inc.\\tyb\\Settings", "ronce", &type, &bytes));
}

// Window objects still let go of their windows while the global objects end at exit.
TEST(Program, EndsWithExitCodeZeroThroughEscapeAndThroughItsCloseButton) {
  testkit::ScratchDir folder("program-exit");
  testkit::ScratchKey marker("Glade Inc.");
  Running byEscape, byClose;
  ASSERT_TRUE(Start(folder.path, byEscape));
  EXPECT_EQ(EndedBy(byEscape, [](HWND bar) { PostMessageA(bar, WM_KEYDOWN, VK_ESCAPE, 0); }), 0u);
  ASSERT_TRUE(Start(folder.path, byClose));
  EXPECT_EQ(EndedBy(byClose, [](HWND bar) { PostMessageA(GetDlgItem(bar, IDC_CLOSE_BAR), WM_KEYDOWN, VK_SPACE, 0); }),
            0u);
  DWORD type;
  std::vector<BYTE> bytes;
  EXPECT_TRUE(testkit::RawValue("Software\\Glade Inc.\\tyb\\Settings", "ronce", &type, &bytes)) << "Close ran";
}

// The sound's libraries come with the first sound and the Open dialog's with the first Open
// dialog: a bar started with no start-up sound beside it has loaded none of them.
TEST(Program, StartsWithoutTheLibrariesItMayNeverNeed) {
  testkit::ScratchDir folder("program-libraries");
  testkit::ScratchKey marker("Glade Inc.");
  Running run;
  ASSERT_TRUE(Start(folder.path, run));
  testkit::PumpUntil([] { return false; }, 500);  // past the first paint and the first timers
  EXPECT_TRUE(HasLoaded(run, "comctl32.dll")) << "the look-up itself";
  for (const char* library : {"winmm.dll", "msacm32.dll", "comdlg32.dll"})
    EXPECT_FALSE(HasLoaded(run, library)) << library;
  EXPECT_TRUE(Ends(run));
}
