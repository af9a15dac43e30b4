#include "tray/SystemTray.h"

#include <cstring>
#include <new>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/Trace.h"
#include "framework/WinApp.h"

CSystemTray g_trayIcon;

namespace {
constexpr UINT kCycleTimerId = 4567;
constexpr UINT kRetryTimerId = 4568;
constexpr UINT kRetryMs = 2000;
constexpr UINT kAllFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
// The record's first form has room for 64 bytes of tooltip, terminator included.
constexpr int kTipChars = 63;
// Resource ids are 16-bit.
constexpr UINT kLastResourceId = 0xFFFF;

BOOL CallShell(DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); }
CSystemTray::NotifyFunction g_notify = &CallShell;

// The shell broadcasts this to top-level windows when the taskbar (re)starts empty.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

// An icon of the program at the size the notification area draws.
IconHandle LoadSmallIcon(UINT id) {
  return IconHandle(static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}
}  // namespace

void CSystemTray::SetNotifyFunction(NotifyFunction function) { g_notify = function ? function : &CallShell; }

CSystemTray::CSystemTray() = default;

CSystemTray::CSystemTray(CWnd* notifyWnd, UINT callbackMessage, const char* tip, HICON icon, UINT id) {
  AddToTray(notifyWnd, callbackMessage, tip, icon, id);
}

// Runs at process exit for g_trayIcon: the notification window, or even our own, may be
// gone by then; the shell call and DestroyWindow cope with that.
CSystemTray::~CSystemTray() {
  RemoveFromTray();
  if (m_hWnd) DestroyWindow();
}

BOOL CSystemTray::AddToTray(CWnd* notifyWnd, UINT callbackMessage, const char* tip, HICON icon, UINT id) {
  if (LOBYTE(LOWORD(GetVersion())) < 4) return FALSE;
  RemoveFromTray();  // a second call replaces the icon instead of leaving the first behind
  if (!CreateHiddenWindow()) return FALSE;
  HWND target = notifyWnd ? notifyWnd->GetSafeHwnd() : nullptr;
  m_iconData = NOTIFYICONDATAA{};
  m_iconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
  m_iconData.hWnd = target ? target : m_hWnd;
  m_iconData.uID = id;
  m_iconData.hIcon = icon;
  m_iconData.uCallbackMessage = callbackMessage;
  SetTipText(tip);
  m_hidden = FALSE;
  m_enabled = Notify(NIM_ADD, kAllFlags);
  if (!m_enabled) WaitForTaskbar();
  return m_enabled;
}

void CSystemTray::WaitForTaskbar() {
  m_addPending = TRUE;
  TRACE_IF_FALSE(SetTimer(kRetryTimerId, kRetryMs));
}

void CSystemTray::StopWaitingForTaskbar() {
  if (!m_addPending) return;
  m_addPending = FALSE;
  KillTimer(kRetryTimerId);
}

// A busy shell may time out on an add it then carries out, so an icon that cannot be added
// again may be there already: a modify that goes through says so.
void CSystemTray::RetryAdd() {
  if (!m_addPending) return;
  if (!Notify(NIM_ADD, kAllFlags) && !Notify(NIM_MODIFY, kAllFlags)) return;
  StopWaitingForTaskbar();
  m_enabled = TRUE;
}

// The hidden window receives the callback when no other window is given, owns the cycle
// timer and hears the taskbar restart.
BOOL CSystemTray::CreateHiddenWindow() {
  if (m_hWnd) return TRUE;
  return CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
}

BOOL CSystemTray::Notify(DWORD message, UINT flags) {
  m_iconData.uFlags = flags;
  return g_notify(message, &m_iconData);
}

void CSystemTray::RemoveFromTray() {
  StopWaitingForTaskbar();
  if (!m_enabled) return;
  if (!m_hidden) TRACE_IF_FALSE(Notify(NIM_DELETE, 0));
  m_enabled = FALSE;
  m_hidden = FALSE;
}

void CSystemTray::HideInTray() {
  if (!m_enabled || m_hidden) return;
  TRACE_IF_FALSE(Notify(NIM_DELETE, NIF_ICON));
  m_hidden = TRUE;
}

void CSystemTray::ShowInTray() {
  if (!m_enabled || !m_hidden) return;
  TRACE_IF_FALSE(Notify(NIM_ADD, kAllFlags));
  m_hidden = FALSE;
}

void CSystemTray::ReAddToTray() {
  HideInTray();
  ShowInTray();
}

void CSystemTray::OnTaskbarCreated() {
  if (m_addPending) RetryAdd();
  else if (m_enabled && !m_hidden) TRACE_IF_FALSE(Notify(NIM_ADD, kAllFlags));
}

BOOL CSystemTray::ChangeIcon(HICON icon) {
  if (!m_enabled) return FALSE;
  m_iconData.hIcon = icon;
  return Notify(NIM_MODIFY, NIF_ICON);
}

// Icons from LoadIconA are shared with the system and need no freeing.
BOOL CSystemTray::ChangeIcon(const char* resourceName) {
  HICON icon = LoadIconA(Module(), resourceName);
  return icon ? ChangeIcon(icon) : FALSE;
}

BOOL CSystemTray::ChangeIcon(UINT resourceId) { return ChangeIcon(MAKEINTRESOURCEA(resourceId)); }

BOOL CSystemTray::ChangeStandardIcon(const char* iconName) {
  HICON icon = LoadIconA(nullptr, iconName);
  return icon ? ChangeIcon(icon) : FALSE;
}

BOOL CSystemTray::ChangeStandardIcon(UINT iconId) { return ChangeStandardIcon(MAKEINTRESOURCEA(iconId)); }

HICON CSystemTray::GetTrayIcon() const { return m_enabled ? m_iconData.hIcon : nullptr; }

BOOL CSystemTray::ChangeTip(const char* tip) {
  if (!m_enabled) return FALSE;
  SetTipText(tip);
  return Notify(NIM_MODIFY, NIF_TIP);
}

BOOL CSystemTray::ChangeTip(UINT stringId) {
  char text[256] = {0};
  if (!LoadStringA(Module(), stringId, text, sizeof text)) return FALSE;
  return ChangeTip(text);
}

CString CSystemTray::GetTip() const { return m_enabled ? CString(m_iconData.szTip) : CString(); }

// Longer tips are cut at a character boundary, so a double-byte character is never split.
void CSystemTray::SetTipText(const char* tip) {
  std::memset(m_iconData.szTip, 0, sizeof m_iconData.szTip);
  if (!tip) return;
  const char* end = tip;
  while (*end) {
    const char* next = CharNextA(end);
    if (next - tip > kTipChars) break;
    end = next;
  }
  std::memcpy(m_iconData.szTip, tip, size_t(end - tip));
}

// The shell knows an icon by its window and id, so a modify cannot move it to another
// window: it is taken out under the old window and added again under the new one.
BOOL CSystemTray::RedirectNotifications(CWnd* notifyWnd) {
  if (!m_enabled) return FALSE;
  HWND target = notifyWnd ? notifyWnd->GetSafeHwnd() : nullptr;
  if (!target) target = m_hWnd;
  if (m_hidden) {
    m_iconData.hWnd = target;
    return TRUE;
  }
  TRACE_IF_FALSE(Notify(NIM_DELETE, 0));
  m_iconData.hWnd = target;
  m_enabled = Notify(NIM_ADD, kAllFlags);
  return m_enabled;
}

CWnd* CSystemTray::GetNotificationWnd() const { return CWnd::FromHandlePermanent(m_iconData.hWnd); }

BOOL CSystemTray::SetIconSequence(UINT firstId, UINT lastId) {
  if (lastId < firstId || lastId > kLastResourceId) return FALSE;
  try {
    std::vector<HICON> icons;
    std::vector<IconHandle> owned;
    for (UINT id = firstId; id <= lastId; ++id) {
      IconHandle icon = LoadSmallIcon(id);
      if (!icon) return FALSE;  // a gap in the ids: keep the list we have
      icons.push_back(icon.Get());
      owned.push_back(std::move(icon));
    }
    ReplaceIconList(std::move(icons), std::move(owned));
  } catch (const std::bad_alloc&) {
    AfxReportException("Out of memory.");
    ReplaceIconList({}, {});
    return FALSE;
  }
  return TRUE;
}

// The caller keeps owning these icons; they must outlive their use here.
BOOL CSystemTray::SetIconSequence(const HICON* icons, int lastIndex) {
  if (!icons || lastIndex < 0) return FALSE;
  try {
    ReplaceIconList(std::vector<HICON>(icons, icons + size_t(lastIndex) + 1), {});
  } catch (const std::bad_alloc&) {
    AfxReportException("Out of memory.");
    ReplaceIconList({}, {});
    return FALSE;
  }
  return TRUE;
}

// A running cycle stops, since it steps through the old list. An icon we loaded that is
// still set in the tray stays alive: re-adding the icon needs a valid handle.
void CSystemTray::ReplaceIconList(std::vector<HICON> icons, std::vector<IconHandle> owned) {
  StopIconCycle();
  for (IconHandle& icon : m_ownedIcons)
    if (icon.Get() == m_iconData.hIcon) m_retiredIcon = std::move(icon);
  m_iconList = std::move(icons);
  m_ownedIcons = std::move(owned);
  m_currentIcon = 0;
}

BOOL CSystemTray::StartIconCycle(UINT intervalMs, int periodSeconds) {
  if (!m_hWnd) return FALSE;  // without our window SetTimer would make a thread timer
  StopIconCycle();
  m_currentIcon = 0;
  m_cycleStart = GetTickCount64();
  m_cyclePeriod = periodSeconds;
  m_savedIcon = GetTrayIcon();
  m_cycleTimerId = SetTimer(kCycleTimerId, intervalMs);
  return m_cycleTimerId != 0;
}

BOOL CSystemTray::StepIconCycle() {
  if (m_iconList.empty()) return FALSE;
  m_currentIcon = int((size_t(m_currentIcon) + 1) % m_iconList.size());
  return ChangeIcon(m_iconList[size_t(m_currentIcon)]);
}

void CSystemTray::StopIconCycle() {
  if (m_cycleTimerId && m_hWnd) KillTimer(m_cycleTimerId);
  m_cycleTimerId = 0;
  if (m_savedIcon) ChangeIcon(std::exchange(m_savedIcon, nullptr));
}

void CSystemTray::OnTimer(UINT_PTR id) {
  if (id == kRetryTimerId) {
    RetryAdd();
    return;
  }
  if (!m_cycleTimerId || id != m_cycleTimerId) return;  // a tick left over from a stopped cycle
  ULONGLONG elapsedSeconds = (GetTickCount64() - m_cycleStart + 500) / 1000;
  if (m_cyclePeriod > 0 && elapsedSeconds > ULONGLONG(m_cyclePeriod)) StopIconCycle();
  else StepIconCycle();
}

BOOL CSystemTray::SetDoubleClickItem(UINT item, BOOL byPosition) {
  if (item == m_doubleClickItem && byPosition == m_doubleClickByPosition) return TRUE;
  m_doubleClickItem = item;
  m_doubleClickByPosition = byPosition;
  MenuHandle menu = LoadTrayMenu();
  HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) return FALSE;
  SetMenuDefaultItem(popup, item, byPosition);
  return TRUE;
}

void CSystemTray::GetDoubleClickItem(UINT& item, BOOL& byPosition) const {
  item = m_doubleClickItem;
  byPosition = m_doubleClickByPosition;
}

MenuHandle CSystemTray::LoadTrayMenu() const {
  return MenuHandle(LoadMenuA(Module(), MAKEINTRESOURCEA(m_iconData.uID)));
}

HWND CSystemTray::CommandTarget() const {
  CWnd* main = AfxGetMainWnd();
  HWND window = main ? main->GetSafeHwnd() : nullptr;
  if (window) return window;
  return m_iconData.hWnd != m_hWnd ? m_iconData.hWnd : nullptr;
}

LRESULT CSystemTray::OnTrayMessage(WPARAM wParam, LPARAM lParam) {
  if (wParam != m_iconData.uID) return 0;
  HWND target = CommandTarget();
  switch (LOWORD(lParam)) {
    case WM_RBUTTONUP:
      return ShowTrayMenu(target);
    case WM_LBUTTONDBLCLK:
      return RunDoubleClick(target);
    default:
      return 1;
  }
}

// The icon's menu is the first submenu of the menu resource with the icon's id.
LRESULT CSystemTray::ShowTrayMenu(HWND target) {
  MenuHandle menu = LoadTrayMenu();
  HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) return 0;
  SetMenuDefaultItem(popup, m_doubleClickItem, m_doubleClickByPosition);
  HWND owner = target ? target : m_hWnd;
  POINT cursor{};
  GetCursorPos(&cursor);
  // The owner must be in front, and get a message afterwards, for the menu to close
  // when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
  ::PostMessageA(owner, WM_NULL, 0, 0);
  return 1;
}

LRESULT CSystemTray::RunDoubleClick(HWND target) {
  if (target) ::SetForegroundWindow(target);
  UINT command = m_doubleClickItem;
  if (m_doubleClickByPosition) {
    MenuHandle menu = LoadTrayMenu();
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) return 0;
    command = GetMenuItemID(popup, int(m_doubleClickItem));
    if (command == UINT(-1)) return 0;  // a submenu or no item at that position
  }
  if (target) ::SendMessageA(target, WM_COMMAND, command, 0);
  return 1;
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0 && message == m_iconData.uCallbackMessage) return OnTrayMessage(wParam, lParam);
  UINT taskbarCreated = TaskbarCreatedMessage();
  if (taskbarCreated != 0 && message == taskbarCreated) {
    OnTaskbarCreated();
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

const MessageMap* CSystemTray::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_TIMER>(&CSystemTray::OnTimer),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries};
  return &map;
}
