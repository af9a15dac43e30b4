// CMp3pctrl1: the program's handle on the MP3 player control (control 1021 of the bar).
// One member per method; each is a late-bound call with the control's DISPID and argument
// types, and a failing call throws COleDispatchException. Positions and lengths are in the
// units of the control's Progress event.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

class CMp3pctrl1 : public CWnd {
 public:
  static CWnd* CreateObject() { return new CMp3pctrl1; }
  static CLSID GetClsid();
  // Creates the control as a child of `parent`; it goes with its parent.
  BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  void Play();
  void Pause();
  void Stop();
  void Seek(long position, long length);
  void OpenFile(const char* path);
  void SetVolume(short first, short second, short volume);
  long GetLength();
  CString GetProgressText(long which);
  long GetState();  // an mp3contract::PlayState
};
