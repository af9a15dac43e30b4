// RunningMark: how a setup program or the uninstaller finds running bars and closes them
// before it replaces or removes the program's files. Each bar holds one while it runs:
//  - the named mutex kMutexName exists while any bar holds a mark (two bars share it: this
//    is no single-instance check), and goes with the last one, once its bar has ended;
//  - a hidden top-level window of class kWindowClass per bar takes WM_CLOSE and passes it on
//    to its bar, which then ends as on Escape, writing nothing.
// setup/tidybar.nsi uses both names.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

class CWnd;

class RunningMark {
 public:
  static constexpr const char* kMutexName = "TidybarRunning";
  static constexpr const char* kWindowClass = "TidybarRunning";

  // `bar` may get its window later: a close request before then does nothing.
  explicit RunningMark(const CWnd& bar);
  RunningMark(const RunningMark&) = delete;
  RunningMark& operator=(const RunningMark&) = delete;

  HWND Window() const { return m_window.Get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  const CWnd& m_bar;
  UniqueHandle<HANDLE, handles::CloseFile> m_mutex;
  WindowHandle m_window;
};
