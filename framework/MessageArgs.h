// How a typed message row unpacks its message: one entry per message the program handles,
// with the signature of its handler beside it. Messages not listed here use the raw
// `LRESULT F(WPARAM, LPARAM)` row.
//
// A handler may take all of its message's arguments or none. What it returns:
// - nothing: handled, and the message's answer is 0;
// - bool: whether it handled the message; false lets the base class's rows and then the
//   window's default processing have it. Not for messages whose answer is a value
//   (kAnswers below), where a bool would read as that value;
// - anything else: handled, and that is the answer.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>

#include <tuple>

namespace msgargs {

template <UINT Message> struct Args;  // no typed row for this message: use OnMessage(message, raw handler)

// Rows whose handler returns nothing; a bool says handled or not.
struct Plain {
  static constexpr bool kAnswers = false;
};
// Rows whose handler returns the message's answer.
struct Answers {
  static constexpr bool kAnswers = true;
};

inline POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// void OnTimer(UINT_PTR id)
template <> struct Args<WM_TIMER> : Plain {
  static std::tuple<UINT_PTR> Unpack(WPARAM wParam, LPARAM) { return {wParam}; }
};
// void OnPaint()
template <> struct Args<WM_PAINT> : Plain {
  static std::tuple<> Unpack(WPARAM, LPARAM) { return {}; }
};
// void OnDestroy()
template <> struct Args<WM_DESTROY> : Plain {
  static std::tuple<> Unpack(WPARAM, LPARAM) { return {}; }
};
// LRESULT OnCreate(CREATESTRUCTA* create): 0 to go on, -1 to stop the window being made
template <> struct Args<WM_CREATE> : Answers {
  static std::tuple<CREATESTRUCTA*> Unpack(WPARAM, LPARAM lParam) { return {reinterpret_cast<CREATESTRUCTA*>(lParam)}; }
};
// void OnSize(UINT type, int width, int height)
template <> struct Args<WM_SIZE> : Plain {
  static std::tuple<UINT, int, int> Unpack(WPARAM wParam, LPARAM lParam) {
    return {UINT(wParam), LOWORD(lParam), HIWORD(lParam)};
  }
};
// BOOL OnEraseBkgnd(HDC dc): nonzero when the background is erased
template <> struct Args<WM_ERASEBKGND> : Answers {
  static std::tuple<HDC> Unpack(WPARAM wParam, LPARAM) { return {reinterpret_cast<HDC>(wParam)}; }
};
// void OnPrintClient(HDC dc, UINT drawFlags)
template <> struct Args<WM_PRINTCLIENT> : Plain {
  static std::tuple<HDC, UINT> Unpack(WPARAM wParam, LPARAM lParam) {
    return {reinterpret_cast<HDC>(wParam), UINT(lParam)};
  }
};
// UINT OnNcHitTest(POINT screen)
template <> struct Args<WM_NCHITTEST> : Answers {
  static std::tuple<POINT> Unpack(WPARAM, LPARAM lParam) { return {PointOf(lParam)}; }
};
// HICON OnQueryDragIcon()
template <> struct Args<WM_QUERYDRAGICON> : Answers {
  static std::tuple<> Unpack(WPARAM, LPARAM) { return {}; }
};

// void OnMouseMove(UINT keys, POINT client), likewise for the buttons' messages
struct Mouse : Plain {
  static std::tuple<UINT, POINT> Unpack(WPARAM wParam, LPARAM lParam) { return {UINT(wParam), PointOf(lParam)}; }
};
template <> struct Args<WM_MOUSEMOVE> : Mouse {};
template <> struct Args<WM_LBUTTONDOWN> : Mouse {};
template <> struct Args<WM_LBUTTONUP> : Mouse {};
template <> struct Args<WM_LBUTTONDBLCLK> : Mouse {};
template <> struct Args<WM_RBUTTONDOWN> : Mouse {};
template <> struct Args<WM_RBUTTONUP> : Mouse {};
// void OnMouseLeave()
template <> struct Args<WM_MOUSELEAVE> : Plain {
  static std::tuple<> Unpack(WPARAM, LPARAM) { return {}; }
};
// void OnCaptureChanged(HWND gaining)
template <> struct Args<WM_CAPTURECHANGED> : Plain {
  static std::tuple<HWND> Unpack(WPARAM, LPARAM lParam) { return {reinterpret_cast<HWND>(lParam)}; }
};
// BOOL OnSetCursor(HWND under, UINT hitTest, UINT mouseMessage): TRUE when the cursor is set
template <> struct Args<WM_SETCURSOR> : Answers {
  static std::tuple<HWND, UINT, UINT> Unpack(WPARAM wParam, LPARAM lParam) {
    return {reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)};
  }
};

// void OnSetFocus(HWND losing), void OnKillFocus(HWND gaining)
struct Focus : Plain {
  static std::tuple<HWND> Unpack(WPARAM wParam, LPARAM) { return {reinterpret_cast<HWND>(wParam)}; }
};
template <> struct Args<WM_SETFOCUS> : Focus {};
template <> struct Args<WM_KILLFOCUS> : Focus {};
// void OnEnable(BOOL enabled)
template <> struct Args<WM_ENABLE> : Plain {
  static std::tuple<BOOL> Unpack(WPARAM wParam, LPARAM) { return {BOOL(wParam)}; }
};
// void OnKeyDown(UINT key, UINT repeats, UINT flags): flags are the high word (KF_REPEAT, ...)
template <> struct Args<WM_KEYDOWN> : Plain {
  static std::tuple<UINT, UINT, UINT> Unpack(WPARAM wParam, LPARAM lParam) {
    return {UINT(wParam), LOWORD(lParam), HIWORD(lParam)};
  }
};
// UINT OnGetDlgCode(UINT key, const MSG* message): message is null outside a dialog's loop
template <> struct Args<WM_GETDLGCODE> : Answers {
  static std::tuple<UINT, const MSG*> Unpack(WPARAM wParam, LPARAM lParam) {
    return {UINT(wParam), reinterpret_cast<const MSG*>(lParam)};
  }
};
// LRESULT OnSetText(const char* text): text may be null
template <> struct Args<WM_SETTEXT> : Answers {
  static std::tuple<const char*> Unpack(WPARAM, LPARAM lParam) { return {reinterpret_cast<const char*>(lParam)}; }
};

// HBRUSH OnCtlColor(HDC dc, HWND control), for each WM_CTLCOLOR* message
struct ControlColour : Answers {
  static std::tuple<HDC, HWND> Unpack(WPARAM wParam, LPARAM lParam) {
    return {reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)};
  }
};
template <> struct Args<WM_CTLCOLORBTN> : ControlColour {};
template <> struct Args<WM_CTLCOLOREDIT> : ControlColour {};
template <> struct Args<WM_CTLCOLORLISTBOX> : ControlColour {};
template <> struct Args<WM_CTLCOLORSCROLLBAR> : ControlColour {};
template <> struct Args<WM_CTLCOLORSTATIC> : ControlColour {};
template <> struct Args<WM_CTLCOLORDLG> : ControlColour {};

// BOOL OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item)
template <> struct Args<WM_MEASUREITEM> : Answers {
  static std::tuple<UINT, MEASUREITEMSTRUCT*> Unpack(WPARAM wParam, LPARAM lParam) {
    return {UINT(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)};
  }
};
// BOOL OnDrawItem(UINT id, const DRAWITEMSTRUCT* item)
template <> struct Args<WM_DRAWITEM> : Answers {
  static std::tuple<UINT, const DRAWITEMSTRUCT*> Unpack(WPARAM wParam, LPARAM lParam) {
    return {UINT(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)};
  }
};
// int OnVKeyToItem(UINT key, int caret, HWND list): -1 for the list's own handling, -2 done
template <> struct Args<WM_VKEYTOITEM> : Answers {
  static std::tuple<UINT, int, HWND> Unpack(WPARAM wParam, LPARAM lParam) {
    return {LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
  }
};
// void OnDropFiles(HDROP drop)
template <> struct Args<WM_DROPFILES> : Plain {
  static std::tuple<HDROP> Unpack(WPARAM wParam, LPARAM) { return {reinterpret_cast<HDROP>(wParam)}; }
};
// BOOL OnInitDialog(HWND focus, LPARAM param): FALSE when the handler set the focus itself
template <> struct Args<WM_INITDIALOG> : Answers {
  static std::tuple<HWND, LPARAM> Unpack(WPARAM wParam, LPARAM lParam) {
    return {reinterpret_cast<HWND>(wParam), lParam};
  }
};

}  // namespace msgargs
