// Changing a window's style bits after creation, with the frame recomputed so the change
// shows (the system caches the frame until told).
#pragma once

#include <windows.h>

// Clears `remove`, then sets `add`, in the style at `index` (GWL_STYLE or GWL_EXSTYLE).
inline void ChangeWindowStyle(HWND window, int index, DWORD remove, DWORD add) {
  if (!window) return;
  LONG_PTR style = GetWindowLongPtrA(window, index);
  SetWindowLongPtrA(window, index, (style & ~LONG_PTR(remove)) | LONG_PTR(add));
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

inline void SetWindowStyle(HWND window, DWORD bits, bool on) {
  ChangeWindowStyle(window, GWL_STYLE, on ? 0 : bits, on ? bits : 0);
}

inline void SetWindowExStyle(HWND window, DWORD bits, bool on) {
  ChangeWindowStyle(window, GWL_EXSTYLE, on ? 0 : bits, on ? bits : 0);
}
