#include "app/RunningMark.h"

#include "framework/Wnd.h"

RunningMark::RunningMark(const CWnd& bar) : m_bar(bar), m_mutex(CreateMutexA(nullptr, FALSE, kMutexName)) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &RunningMark::WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly for the second mark of a process
  // Top-level, so FindWindow finds it; never shown, so no taskbar button.
  m_window.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance, nullptr));
  if (m_window) SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK RunningMark::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CLOSE) return DefWindowProcA(window, message, wParam, lParam);
  // The mark stays until its bar has ended, so a caller can wait for the window to go.
  if (auto* mark = reinterpret_cast<RunningMark*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
    mark->m_bar.PostMessage(WM_CLOSE);
  return 0;
}
