// CWnd: a C++ object attached to a window handle. Messages reach the object's message map;
// what it does not handle goes to the window's own procedure (for windows we subclass, and
// dialogs) or to DefWindowProc (for windows of our own classes). Subclassing goes through the
// common controls' SetWindowSubclass, so several objects can bind one window and let go of
// it in any order.
#pragma once

#include <windows.h>
#include <windowsx.h>
// windowsx.h names a macro after the window call that CWnd has as a member.
#undef SubclassWindow

#include "framework/CString.h"
#include "framework/MessageMap.h"
#include "framework/Variant.h"

#include <initializer_list>

// The font `window` draws its text with (its WM_GETFONT answer); null for the system font.
inline HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)); }

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }  // NOLINT: windows read as their handle

  // The object attached to a window by this framework, or nullptr.
  static CWnd* FromHandlePermanent(HWND window);

  // Creates a window: one of a class from AfxRegisterWndClass becomes this object's own;
  // one of any other class (a control) is bound to this object by its handle.
  BOOL CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, void* param = nullptr);
  virtual BOOL DestroyWindow();

  // Binds an existing window (a dialog's control) to this object by subclassing it. A window
  // may have several bound objects; the first stays the one FromHandlePermanent names.
  BOOL SubclassWindow(HWND window);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // Thin forwards to the window calls the program uses.
  BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) const {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
  void ClientToScreen(RECT* rect) const;
  void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse) const { return m_hWnd ? ::SetTimer(m_hWnd, id, elapse, nullptr) : 0; }
  BOOL KillTimer(UINT_PTR id) const { return m_hWnd ? ::KillTimer(m_hWnd, id) : FALSE; }
  void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  // Without a window these do nothing (a null window would mean the thread's queue).
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : 0;
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return m_hWnd ? ::PostMessageA(m_hWnd, message, wParam, lParam) : FALSE;
  }
  void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
  CString GetWindowText() const;
  BOOL SetForegroundWindow() const { return ::SetForegroundWindow(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  HICON SetIcon(HICON icon, BOOL big) const {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }

  // The window procedure's work: the message map first, then default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Default processing of the message being handled.
  LRESULT Default();
  // A notification that the parent handed back to this control (control colours, custom
  // draw, owner draw, commands). Return true when handled, with the answer in *result.
  virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  virtual const MessageMap* GetMessageMap() const;
  virtual const EventSinkMap* GetEventSinkMap() const;

  // Calls method `dispid` of the hosted control in this window with the arguments first to
  // last, storing a result of type vtRet in *pvRet (VT_EMPTY: none). A failing call throws
  // COleDispatchException.
  void InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet,
                    std::initializer_list<CVariant> args = {}) const;

  // Called when a hosted control among this window's children raises an event.
  HRESULT FireControlEvent(UINT controlId, DISPID dispid, DISPPARAMS* params);

 protected:
  // Looks the message up in the map chain, reflecting child notifications first.
  // Returns true when something handled it. A class may look at messages first here; both
  // window and dialog procedures come through it.
  virtual bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once this object has taken over an existing window by subclassing it.
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}

  void Attach(HWND window);
  void Detach();

  // Routes the window's messages through this object ahead of its own procedure.
  bool StartSubclass(HWND window);
  void StopSubclass();

  bool m_subclassed = false;  // this object's subclass procedure is on the window
  bool m_bound = false;       // bound by SubclassWindow: given back, not destroyed, at the end

  // Runs the object's procedure for one message, guarding it; the object lets go of its
  // window after WM_NCDESTROY.
  LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR object);
  bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleControlEvent(WPARAM wParam, LPARAM lParam, LRESULT& result);

  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } m_current{};

  friend class CDialog;
  friend const char* AfxRegisterWndClass(UINT, HCURSOR, HBRUSH, HICON);
};

// Registers (once) and names a window class whose procedure is the framework's.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                HICON icon = nullptr);
