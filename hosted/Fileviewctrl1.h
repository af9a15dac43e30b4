// CFileviewctrl1: the program's handle on a file-view control (ocx/fileview), bound to a
// dialog's control by data exchange. One member per method; each is a late-bound call
// with the control's DISPID, and a failing call throws COleDispatchException.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

class CFileviewctrl1 : public CWnd {
 public:
  static CWnd* CreateObject() { return new CFileviewctrl1; }
  static CLSID GetClsid();
  // Creates the control as a child of `parent`, with no stored state (it shows no folder).
  BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Returns the view to the folder it showed before.
  void GoBack();
};
