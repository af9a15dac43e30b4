#include "ocx/fileview/ShellMenu.h"

#include <shlwapi.h>

namespace {
struct PidlList {
  std::vector<ITEMIDLIST*> items;
  ~PidlList() {
    for (ITEMIDLIST* item : items) CoTaskMemFree(item);
  }
};

}  // namespace

ComPtr<IShellFolder> BindShellFolder(const std::wstring& folder) {
  ComPtr<IShellFolder> desktop, bound;
  if (FAILED(SHGetDesktopFolder(desktop.Receive()))) return bound;
  std::wstring name = folder;
  ITEMIDLIST* parsed = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, &parsed, nullptr))) return bound;
  PidlHandle pidl(parsed);
  if (FAILED(desktop->BindToObject(pidl.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(bound.Receive()))))
    return ComPtr<IShellFolder>();
  return bound;
}

bool CShellMenu::Build(HWND owner, const std::wstring& folder, const std::vector<std::wstring>& names,
                       bool extended) {
  ComPtr<IShellFolder> shellFolder = BindShellFolder(folder);
  if (!shellFolder) return false;
  HRESULT made;
  if (names.empty()) {
    made = shellFolder->CreateViewObject(owner, IID_IContextMenu, reinterpret_cast<void**>(m_menuHandler.Receive()));
  } else {
    PidlList children;
    for (const std::wstring& name : names) {
      std::wstring text = name;
      ITEMIDLIST* child = nullptr;
      if (FAILED(shellFolder->ParseDisplayName(owner, nullptr, &text[0], nullptr, &child, nullptr))) return false;
      children.items.push_back(child);
    }
    made = shellFolder->GetUIObjectOf(owner, UINT(children.items.size()),
                                      const_cast<LPCITEMIDLIST*>(children.items.data()), IID_IContextMenu, nullptr,
                                      reinterpret_cast<void**>(m_menuHandler.Receive()));
  }
  if (FAILED(made) || !m_menuHandler) return false;
  m_menu.Reset(CreatePopupMenu());
  UINT flags = CMF_NORMAL | CMF_CANRENAME | (extended ? CMF_EXTENDEDVERBS : 0);
  if (!m_menu || FAILED(m_menuHandler->QueryContextMenu(m_menu.Get(), 0, kFirst, kLast, flags))) return false;
  m_menuHandler->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(m_menuHandler3.Receive()));
  m_menuHandler->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(m_menuHandler2.Receive()));
  return true;
}

std::wstring CShellMenu::VerbOf(UINT command) const {
  if (!m_menuHandler || command < kFirst) return std::wstring();
  wchar_t verb[64] = L"";
  if (FAILED(m_menuHandler->GetCommandString(command - kFirst, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb),
                                             ARRAYSIZE(verb))))
    return std::wstring();
  verb[ARRAYSIZE(verb) - 1] = L'\0';
  return verb;
}

UINT CShellMenu::CommandOf(const std::wstring& verb) const {
  int count = m_menu ? GetMenuItemCount(m_menu.Get()) : 0;
  for (int i = 0; i < count; ++i) {
    UINT command = GetMenuItemID(m_menu.Get(), i);
    if (command >= kFirst && command <= kLast && StrCmpIW(VerbOf(command).c_str(), verb.c_str()) == 0) return command;
  }
  return 0;
}

bool CShellMenu::Invoke(HWND owner, UINT command, POINT screen) const {
  if (!m_menuHandler || command < kFirst || command > kLast) return false;
  CMINVOKECOMMANDINFOEX info{};
  info.cbSize = sizeof info;
  info.fMask = CMIC_MASK_PTINVOKE | (GetKeyState(VK_CONTROL) < 0 ? CMIC_MASK_CONTROL_DOWN : 0) |
               (GetKeyState(VK_SHIFT) < 0 ? CMIC_MASK_SHIFT_DOWN : 0);
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(command - kFirst);
  info.lpVerbW = MAKEINTRESOURCEW(command - kFirst);
  info.nShow = SW_SHOWNORMAL;
  info.ptInvoke = screen;
  return SUCCEEDED(m_menuHandler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info)));
}

bool CShellMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
  *result = 0;
  if (m_menuHandler3) return SUCCEEDED(m_menuHandler3->HandleMenuMsg2(message, wParam, lParam, result));
  if (m_menuHandler2 && message != WM_MENUCHAR) return SUCCEEDED(m_menuHandler2->HandleMenuMsg(message, wParam, lParam));
  return false;
}
