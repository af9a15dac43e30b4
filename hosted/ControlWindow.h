// Creating a hosted control's window for one of the wrappers, outside any template.
#pragma once

#include "framework/Wnd.h"

// Creates a child window of the control class `className` (its CLSID in braces) and binds
// `wrapper` to it by handle; the window goes with its parent.
inline BOOL CreateControlWindow(CWnd& wrapper, const char* className, const char* windowName, DWORD style,
                                const RECT& rect, CWnd* parent, UINT id) {
  return wrapper.CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                          reinterpret_cast<HMENU>(UINT_PTR(id)));
}
