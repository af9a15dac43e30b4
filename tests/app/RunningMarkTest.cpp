// What a setup program sees of running bars: the named mutex while any bar runs, and one
// hidden window per bar that passes a close request on to its bar.
#include <gtest/gtest.h>

#include "app/RunningMark.h"
#include "framework/Wnd.h"

namespace {
bool MutexExists() {
  UniqueHandle<HANDLE, handles::CloseFile> mutex(OpenMutexA(SYNCHRONIZE, FALSE, RunningMark::kMutexName));
  return bool(mutex);
}

int MarkWindows() {
  int count = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, RunningMark::kWindowClass, nullptr); w;
       w = FindWindowExA(nullptr, w, RunningMark::kWindowClass, nullptr))
    ++count;
  return count;
}

bool CloseQueued(HWND window) {
  MSG message;
  return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}
}  // namespace

TEST(RunningMark, NamesRunningBarsUntilTheLastOneEnds) {
  ASSERT_FALSE(MutexExists());
  CWnd firstBar, secondBar;
  {
    RunningMark first(firstBar);
    EXPECT_TRUE(MutexExists());
    {
      RunningMark second(secondBar);
      EXPECT_EQ(MarkWindows(), 2) << "each bar has its own mark";
      EXPECT_FALSE(IsWindowVisible(second.Window()));
    }
    EXPECT_TRUE(MutexExists()) << "one bar still runs";
    EXPECT_EQ(FindWindowA(RunningMark::kWindowClass, nullptr), first.Window());
  }
  EXPECT_FALSE(MutexExists());
  EXPECT_EQ(MarkWindows(), 0);
}

TEST(RunningMark, PassesACloseRequestOnToItsBarAndStays) {
  CWnd bar;
  RunningMark mark(bar);
  SendMessageA(mark.Window(), WM_CLOSE, 0, 0);  // before the bar has a window: nothing to do
  EXPECT_TRUE(IsWindow(mark.Window()));

  WindowHandle barWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
  bar.m_hWnd = barWindow.Get();
  SendMessageA(mark.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(CloseQueued(barWindow.Get()));
  EXPECT_TRUE(IsWindow(mark.Window())) << "the mark goes only with its bar";
  bar.m_hWnd = nullptr;
}
