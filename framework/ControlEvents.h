// How hosted controls and their containers talk: two registered window messages.
//
// A control answers kGetDispatchMessage with an IDispatch pointer (AddRef'd) for its
// methods. It raises an event by sending kControlEventMessage to its parent window with
// wParam = the control's window and lParam = a ControlEvent; the parent's CWnd delivers it
// through its event sink map and returns the HRESULT.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <olectl.h>  // DISPID_CLICK and the other stock events

struct ControlEvent {
  DISPID dispid;
  DISPPARAMS* params;
};

UINT GetDispatchMessageId();
UINT ControlEventMessageId();

// Raises an event from a control window; the arguments are given first to last.
HRESULT RaiseControlEvent(HWND control, DISPID dispid, VARIANT* argsFirstToLast = nullptr, UINT count = 0);
