// What a setup program sees of running bars: the named mutex while any bar runs, and one
// hidden window per bar that passes a close request on to its bar.
#include <gtest/gtest.h>

#include "app/RunningMark.h"
#include "framework/Wnd.h"

namespace {
bool MutexExists() {
  return bool(UniqueHandle<HANDLE, handles::CloseFile>(OpenMutexA(SYNCHRONIZE, FALSE, RunningMark::kMutexName)));
}

HWND MarkAfter(HWND window) { return FindWindowExA(nullptr, window, RunningMark::kWindowClass, nullptr); }
}  // namespace

TEST(RunningMark, NamesRunningBarsUntilTheLastOneEnds) {
  ASSERT_FALSE(MutexExists());
  CWnd firstBar, secondBar;
  {
    RunningMark first(firstBar);
    {
      RunningMark second(secondBar);
      HWND other = MarkAfter(MarkAfter(nullptr));
      EXPECT_TRUE(other && !MarkAfter(other)) << "one mark a bar";
      EXPECT_FALSE(IsWindowVisible(second.Window()));
    }
    EXPECT_TRUE(MutexExists()) << "one bar still runs";
    EXPECT_EQ(MarkAfter(nullptr), first.Window());
  }
  EXPECT_FALSE(MutexExists());
  EXPECT_EQ(MarkAfter(nullptr), nullptr);
}

TEST(RunningMark, PassesACloseRequestOnToItsBarAndStays) {
  CWnd bar;
  RunningMark mark(bar);
  SendMessageA(mark.Window(), WM_CLOSE, 0, 0);  // before the bar has a window: nothing to do
  WindowHandle barWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
  bar.m_hWnd = barWindow.Get();
  SendMessageA(mark.Window(), WM_CLOSE, 0, 0);
  MSG queued;
  EXPECT_TRUE(PeekMessageA(&queued, barWindow.Get(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_TRUE(IsWindow(mark.Window())) << "the mark goes only with its bar";
  bar.m_hWnd = nullptr;
}
