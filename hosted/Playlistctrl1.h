// CPlaylistctrl1: the program's handle on the playlist control (control 1063 of the
// playlist editor). One member per method; each is a late-bound call with the control's
// DISPID and argument types, and a failing call throws COleDispatchException.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

class CPlaylistctrl1 : public CWnd {
 public:
  static CWnd* CreateObject() { return new CPlaylistctrl1; }
  static CLSID GetClsid();
  // Creates the control as a child of `parent`; it goes with its parent.
  BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  short AddFolderFiles(const char* extension, const char* folder);
  void SetBackColorRgb(short red, short green, short blue);
  void SetForeColorRgb(short red, short green, short blue);
  void SetBackColorRgb2(short red, short green, short blue);
  void ClearList();
  BOOL SaveList(const char* path);
  BOOL LoadList(const char* path);
};
