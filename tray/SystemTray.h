// CSystemTray: the program's icon in the notification area. It adds the icon with the
// shell, answers the icon's mouse notifications and removes the icon when destroyed.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "framework/CString.h"
#include "framework/Wnd.h"

class CSystemTray : public CWnd {
 public:
  CSystemTray();
  CSystemTray(CWnd* notifyWnd, UINT callbackMessage, const char* tip, HICON icon, UINT id);
  ~CSystemTray() override;

  BOOL AddToTray(CWnd* notifyWnd, UINT callbackMessage, const char* tip, HICON icon, UINT id);
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
  // (The implementation adds its members and helpers here.)
};

// The one tray icon of the program, living for the whole process.
extern CSystemTray g_trayIcon;
