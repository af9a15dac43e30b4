// CShellMenu: the shell's own context menu for some items of a folder, or for the folder's
// background (View, Paste, New, ...). Entries that other programs add come with it; those
// drawn by their owners or opening sub-menus are served through HandleMessage while the
// menu is up.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "ocx/fileview/IconSource.h"

// The shell's folder object for a folder path; empty when the shell cannot reach it.
ComPtr<IShellFolder> BindShellFolder(const std::wstring& folder);

class CShellMenu {
 public:
  CShellMenu() = default;
  CShellMenu(const CShellMenu&) = delete;
  CShellMenu& operator=(const CShellMenu&) = delete;

  // Builds the menu for `names` (items of `folder`), or for the folder itself when there are
  // none; false when the shell gives no menu.
  bool Build(HWND owner, const std::wstring& folder, const std::vector<std::wstring>& names, bool extended);
  HMENU Menu() const { return m_menu.Get(); }
  // The shell's name of a command ("open", "delete", "rename", ...), or "" when it has none.
  std::wstring VerbOf(UINT command) const;
  // The command of a verb, or 0.
  UINT CommandOf(const std::wstring& verb) const;
  // Carries out a command chosen from the menu.
  bool Invoke(HWND owner, UINT command, POINT screen) const;
  // Menu messages for entries drawn by their owners and sub-menus filled when they open.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;

 private:
  static const UINT kFirst = 1;
  static const UINT kLast = 0x7FFF;

  MenuHandle m_menu;
  ComPtr<IContextMenu> m_menuHandler;
  ComPtr<IContextMenu2> m_menuHandler2;
  ComPtr<IContextMenu3> m_menuHandler3;
};
