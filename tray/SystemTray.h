// CSystemTray: the program's icon in the notification area. It adds the icon with the
// shell, answers the icon's mouse notifications and removes the icon when destroyed.
// An icon the shell refuses (at log-on the taskbar may not be up yet) is added later: when
// the taskbar announces itself, or at the next of a few-second retries.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "framework/CString.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

class CSystemTray : public CWnd {
 public:
  CSystemTray();
  CSystemTray(CWnd* notifyWnd, UINT callbackMessage, const char* tip, HICON icon, UINT id);
  ~CSystemTray() override;

  // FALSE when the shell refused the icon; it is then added as soon as the shell takes it.
  BOOL AddToTray(CWnd* notifyWnd, UINT callbackMessage, const char* tip, HICON icon, UINT id);
  BOOL IsWaitingForTaskbar() const { return m_addPending; }
  void RemoveFromTray();
  void HideInTray();
  void ShowInTray();
  void ReAddToTray();

  BOOL ChangeIcon(HICON icon);
  BOOL ChangeIcon(const char* resourceName);
  BOOL ChangeIcon(UINT resourceId);
  BOOL ChangeStandardIcon(const char* iconName);
  BOOL ChangeStandardIcon(UINT iconId);
  HICON GetTrayIcon() const;

  BOOL ChangeTip(const char* tip);
  BOOL ChangeTip(UINT stringId);
  CString GetTip() const;

  BOOL RedirectNotifications(CWnd* notifyWnd);
  CWnd* GetNotificationWnd() const;

  BOOL SetIconSequence(UINT firstId, UINT lastId);
  BOOL SetIconSequence(const HICON* icons, int lastIndex);
  BOOL StartIconCycle(UINT intervalMs, int periodSeconds);
  BOOL StepIconCycle();
  void StopIconCycle();

  BOOL SetDoubleClickItem(UINT item, BOOL byPosition);
  void GetDoubleClickItem(UINT& item, BOOL& byPosition) const;

  virtual LRESULT OnTrayMessage(WPARAM wParam, LPARAM lParam);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const MessageMap* GetMessageMap() const override;

  // The call into the shell; tests replace it to watch what is asked of the shell.
  using NotifyFunction = BOOL (*)(DWORD message, NOTIFYICONDATAA* data);
  static void SetNotifyFunction(NotifyFunction function);

 private:
  BOOL Notify(DWORD message, UINT flags);
  BOOL CreateHiddenWindow();
  void SetTipText(const char* tip);
  // The window that mouse commands go to: the application's main window, else the
  // notification window.
  HWND CommandTarget() const;
  MenuHandle LoadTrayMenu() const;
  LRESULT ShowTrayMenu(HWND target);
  LRESULT RunDoubleClick(HWND target);
  // Takes a new icon list; `owned` are the icons of it that this object loaded.
  void ReplaceIconList(std::vector<HICON> icons, std::vector<IconHandle> owned);
  void OnTaskbarCreated();
  void WaitForTaskbar();
  void StopWaitingForTaskbar();
  void RetryAdd();
  void OnTimer(UINT_PTR id);

  BOOL m_enabled = FALSE;  // the icon was added and the object may talk to the shell
  BOOL m_hidden = FALSE;   // the icon was taken out by HideInTray
  BOOL m_addPending = FALSE;  // the shell refused the icon; it is added when the shell can
  // What the shell is given. Its size field names the record's first form, so the shell
  // reads no more than a 64-byte tip.
  NOTIFYICONDATAA m_iconData{};

  std::vector<HICON> m_iconList;         // the icon cycle's icons
  std::vector<IconHandle> m_ownedIcons;  // those of m_iconList loaded from resources here
  IconHandle m_retiredIcon;              // a loaded icon still in the tray after its list went
  UINT_PTR m_cycleTimerId = 0;
  int m_currentIcon = 0;
  ULONGLONG m_cycleStart = 0;   // GetTickCount64 when the cycle started
  int m_cyclePeriod = 0;        // seconds; 0 or less cycles until stopped
  HICON m_savedIcon = nullptr;  // shown before the cycle started

  UINT m_doubleClickItem = 0;
  BOOL m_doubleClickByPosition = TRUE;
};

// The one tray icon of the program, living for the whole process.
extern CSystemTray g_trayIcon;
