#include "framework/Wnd.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "framework/ControlEvents.h"
#include "framework/Exceptions.h"

namespace {
// The object of a window lives in a window property, so controls that use their own
// GWLP_USERDATA can be subclassed too.
const char kObjectProperty[] = "Tidybar.CWnd";

// The same link, kept in this process too: every message looks its object up, and under
// Wine reading a window property asks the wine server, dozens of times a second when idle.
// Every object bound to a window, the window's own first. Windows belong to the program's
// one thread, so the table needs no lock.
//
// The table is made on first use and never destroyed: global window objects (the application's
// owner window, the tray icon's window) let go of their windows in their destructors at process
// exit, and a table destroyed before them would be used after its end. The process's end
// takes its memory back.
using ObjectTable = std::unordered_map<HWND, std::vector<CWnd*>>;
ObjectTable& Objects() {
  static ObjectTable* const table = new ObjectTable;
  return *table;
}

HWND NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lParam);
    case WM_COMMAND:
      return reinterpret_cast<HWND>(lParam);  // 0 for menus and accelerators
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
      return wParam && lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
      return nullptr;
  }
}

bool EntryMatches(const MessageEntry& entry, UINT message, WPARAM wParam, LPARAM lParam) {
  if (entry.message != message) return false;
  if (message == WM_COMMAND) {
    return (entry.id == kAnyCode || entry.id == LOWORD(wParam)) &&
           (entry.code == kAnyCode || entry.code == HIWORD(wParam));
  }
  if (message == WM_NOTIFY && lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    return (entry.id == kAnyCode || entry.id == header->idFrom) &&
           (entry.code == kAnyCode || entry.code == header->code);
  }
  return true;
}
}  // namespace

// A window bound by SubclassWindow is given back; one this object owns (its own class, a
// dialog) is destroyed with it; a wrapper bound by handle alone leaves its window be.
CWnd::~CWnd() {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  if (m_bound) {
    UnsubclassWindow();
  } else if (FromHandlePermanent(m_hWnd) == this) {
    HWND window = m_hWnd;
    StopSubclass();
    Detach();
    ::DestroyWindow(window);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  if (!window) return nullptr;
  ObjectTable& table = Objects();
  auto found = table.find(window);
  return found == table.end() ? nullptr : found->second.front();
}

void CWnd::Attach(HWND window) {
  m_hWnd = window;
  std::vector<CWnd*>& bound = Objects()[window];
  bound.push_back(this);
  if (bound.size() == 1) SetPropA(window, kObjectProperty, this);
}

void CWnd::Detach() {
  if (m_hWnd) {
    ObjectTable& table = Objects();
    auto found = table.find(m_hWnd);
    if (found != table.end()) {
      std::vector<CWnd*>& bound = found->second;
      bool first = !bound.empty() && bound.front() == this;
      bound.erase(std::remove(bound.begin(), bound.end(), this), bound.end());
      if (bound.empty()) {
        table.erase(found);
        RemovePropA(m_hWnd, kObjectProperty);
      } else if (first) {
        SetPropA(m_hWnd, kObjectProperty, bound.front());
      }
    }
  }
  m_hWnd = nullptr;
}

// The subclass is known by this object's address, so each bound object has its own.
bool CWnd::StartSubclass(HWND window) {
  m_subclassed = SetWindowSubclass(window, &CWnd::SubclassProc, reinterpret_cast<UINT_PTR>(this),
                                   reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  return m_subclassed;
}

void CWnd::StopSubclass() {
  if (m_subclassed && m_hWnd) RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, reinterpret_cast<UINT_PTR>(this));
  m_subclassed = false;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static std::vector<CString> names;
  CString name;
  name.Format("Tidybar:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
              static_cast<void*>(icon));
  for (const CString& known : names)
    if (known == name) return known;
  WNDCLASSA wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = &CWnd::StaticWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  names.push_back(name);
  return names.back();
}

// A window of a framework class attaches to this object as it is created; any other class
// gets `param` as its creation data and is bound to this object by handle afterwards.
BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, void* param) {
  WNDCLASSA info{};
  bool ours = GetClassInfoA(GetModuleHandleA(nullptr), className, &info) && info.lpfnWndProc == &StaticWindowProc;
  HWND window = ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                                  GetModuleHandleA(nullptr), ours ? this : param);
  if (window && !ours && !m_hWnd) m_hWnd = window;
  return window != nullptr;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = FromHandlePermanent(window);
  if (!self && message == WM_NCCREATE) {
    self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self) self->Attach(window);
  }
  if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
  return self->RouteMessage(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR object) {
  auto* self = reinterpret_cast<CWnd*>(object);
  if (!self || self->m_hWnd != window) return DefSubclassProc(window, message, wParam, lParam);
  return self->RouteMessage(message, wParam, lParam);
}

// Runs the object's procedure for one message; after WM_NCDESTROY the object lets go of
// the handle and gets its last call.
LRESULT CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentMessage saved = m_current;
  m_current = {message, wParam, lParam};
  LRESULT result = 0;
  if (!AfxGuard([&] { result = WindowProc(message, wParam, lParam); })) result = 0;
  m_current = saved;
  if (message == WM_NCDESTROY) {
    HWND window = m_hWnd;
    bool subclassed = m_subclassed;
    StopSubclass();
    m_bound = false;
    Detach();
    if (subclassed) result = DefSubclassProc(window, message, wParam, lParam);
    PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Dispatch(message, wParam, lParam, result)) return result;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_subclassed) return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) return 0;  // the next procedure runs once this object has let go
  return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

const MessageMap* CWnd::GetMessageMap() const {
  static const MessageMap map(nullptr);
  return &map;
}

const EventSinkMap* CWnd::GetEventSinkMap() const {
  static const EventSinkMap map(nullptr);
  return &map;
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = NotifyingChild(message, wParam, lParam);
  if (!child || child == m_hWnd) return false;
  CWnd* object = FromHandlePermanent(child);
  return object && object->OnChildNotify(message, wParam, lParam, &result);
}

bool CWnd::HandleControlEvent(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const auto* event = reinterpret_cast<const ControlEvent*>(lParam);
  HWND control = reinterpret_cast<HWND>(wParam);
  if (!event || !control) return false;
  result = FireControlEvent(::GetDlgCtrlID(control), event->dispid, event->params);
  return true;
}

HRESULT CWnd::FireControlEvent(UINT controlId, DISPID dispid, DISPPARAMS* params) {
  for (const EventSinkMap* map = GetEventSinkMap(); map; map = map->base)
    for (size_t i = 0; i < map->count; ++i)
      if (map->entries[i].controlId == controlId && map->entries[i].dispid == dispid)
        return map->entries[i].thunk(this, params);
  return DISP_E_MEMBERNOTFOUND;
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == ControlEventMessageId()) return HandleControlEvent(wParam, lParam, result);
  if (ReflectToChild(message, wParam, lParam, result)) return true;
  for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
    for (size_t i = 0; i < map->count; ++i) {
      const MessageEntry& entry = map->entries[i];
      // A row that declines leaves the message to the rows after it, then to default processing.
      if (EntryMatches(entry, message, wParam, lParam) && entry.thunk(this, entry.handler, wParam, lParam, &result))
        return true;
    }
  }
  return false;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (!window || m_hWnd || !::IsWindow(window)) return FALSE;
  Attach(window);
  if (!StartSubclass(window)) {
    Detach();
    return FALSE;
  }
  m_bound = true;
  PreSubclassWindow();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, int(id)));
}

HWND CWnd::UnsubclassWindow() {
  HWND window = m_hWnd;
  if (!window || !m_bound) return nullptr;
  StopSubclass();
  m_bound = false;
  Detach();
  return window;
}

void CWnd::ClientToScreen(RECT* rect) const { MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2); }

CString CWnd::GetWindowText() const {
  CString text;
  int length = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, text.GetBuffer(length + 1), length + 1);
  text.ReleaseBuffer();
  return text;
}
