// CIconSource: the shell's large icons for files and folders, as indices into the system image
// list. A file's type icon is one look-up per extension, remembered. An item's own icon (a
// program's, a shortcut's, a folder's) is looked up through its folder, which is parsed once
// for all of its items: parsing every item's whole path again costs the shell more than the
// icon itself. A shortcut that names no icon shows its target's, read from the shortcut
// without asking the shell for the shortcut's own first.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <map>
#include <string>

#include "framework/Handles.h"

namespace iconsource {
inline void FreePidl(ITEMIDLIST* pidl) { CoTaskMemFree(pidl); }
}  // namespace iconsource
using PidlHandle = UniqueHandle<ITEMIDLIST*, iconsource::FreePidl>;

class CIconSource {
 public:
  CIconSource();
  CIconSource(const CIconSource&) = delete;
  CIconSource& operator=(const CIconSource&) = delete;

  HIMAGELIST ImageList() const { return m_imageList; }
  int FolderIcon() const { return m_folderIcon; }
  int FileIcon() const { return m_fileIcon; }

  // Files of these types carry icons of their own; every other file shows its type's icon.
  static bool HasOwnIcon(const char* extension);
  // The icon of files with this extension (".txt"), or the plain file icon.
  int TypeIcon(const char* extension);
  // The icon the item shows for good: its own if it has one, else its type's.
  int IconOf(const char* path, const char* name, bool isFolder);

 private:
  int SystemIcon(const char* path, DWORD attributes, UINT flags);
  int OwnIcon(const char* path, const char* name);
  int ShortcutIcon(const char* path, const char* name);
  int TargetIcon(const std::wstring& target);
  int IconInFolder(const std::string& folder, const char* name);
  void BindFolder(const std::string& folder);

  HIMAGELIST m_imageList = nullptr;
  int m_folderIcon = 0;
  int m_fileIcon = 0;
  std::map<std::string, int> m_byType;
  std::map<std::wstring, int> m_byTarget;  // shortcuts' targets in upper case
  std::string m_folder;  // the folder bound below, in upper case; empty when none is
  PidlHandle m_folderPidl;
  ComPtr<IShellFolder> m_shellFolder;
};
