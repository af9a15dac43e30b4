#include "ocx/fileview/IconSource.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "ocx/fileview/WideText.h"

namespace {
// The target of shortcut `link` when the shortcut names no icon of its own; empty when it
// names one, or cannot be read. The shortcut is not resolved, which may search the disk.
std::wstring PlainShortcutTarget(const char* link) {
  ComPtr<IShellLinkW> shortcut;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(shortcut.Receive()))))
    return std::wstring();
  ComPtr<IPersistFile> file;
  std::wstring wideLink = widetext::FromAnsi(link);
  if (wideLink.empty() ||
      FAILED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
      FAILED(file->Load(wideLink.c_str(), STGM_READ)))
    return std::wstring();
  wchar_t icon[MAX_PATH] = L"";
  int iconIndex = 0;
  if (FAILED(shortcut->GetIconLocation(icon, MAX_PATH, &iconIndex)) || icon[0]) return std::wstring();
  wchar_t target[MAX_PATH] = L"";
  if (shortcut->GetPath(target, MAX_PATH, nullptr, 0) != S_OK) return std::wstring();
  return target;
}
}  // namespace

CIconSource::CIconSource() {
  SHFILEINFOA info{};
  m_imageList =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
  m_folderIcon = std::max(0, SystemIcon("folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES));
  m_fileIcon = std::max(0, SystemIcon("file", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES));
}

int CIconSource::SystemIcon(const char* path, DWORD attributes, UINT flags) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path, attributes, &info, sizeof info, flags | SHGFI_SYSICONINDEX | SHGFI_LARGEICON)) return -1;
  return info.iIcon;
}

bool CIconSource::HasOwnIcon(const char* extension) {
  static const char* const kinds[] = {".EXE", ".LNK", ".ICO", ".CUR", ".ANI", ".URL", ".PIF", ".SCR", ".CPL", ".MSC"};
  for (const char* kind : kinds)
    if (lstrcmpiA(extension, kind) == 0) return true;
  return false;
}

int CIconSource::TypeIcon(const char* extension) {
  std::string key = widetext::UpperKey(CString(extension));
  auto found = m_byType.find(key);
  if (found != m_byType.end()) return found->second;
  int icon = SystemIcon(("file" + key).c_str(), FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
  if (icon < 0) icon = m_fileIcon;
  m_byType[key] = icon;
  return icon;
}

int CIconSource::IconOf(const char* path, const char* name, bool isFolder) {
  const char* extension = PathFindExtensionA(name);
  if (!isFolder && !HasOwnIcon(extension)) return TypeIcon(extension);
  int icon = lstrcmpiA(extension, ".lnk") == 0 ? ShortcutIcon(path, name) : OwnIcon(path, name);
  if (icon >= 0) return icon;
  return isFolder ? m_folderIcon : TypeIcon(extension);
}

// Windows shows a shortcut that names no icon with its target's; Wine's shell gives it the
// plain document icon, so every shortcut of a category would look the same. Such a
// shortcut shows its target's icon; one that names an icon, or whose target has none, gets
// the shell's answer.
int CIconSource::ShortcutIcon(const char* path, const char* name) {
  std::wstring target = PlainShortcutTarget(path);
  int icon = target.empty() ? -1 : TargetIcon(target);
  return icon >= 0 ? icon : OwnIcon(path, name);
}

// Shortcuts to the same program share its icon, looked up once.
int CIconSource::TargetIcon(const std::wstring& target) {
  if (lstrcmpiW(PathFindExtensionW(target.c_str()), L".lnk") == 0) return -1;  // a shortcut to a shortcut
  std::wstring key = widetext::UpperKey(target);
  auto found = m_byTarget.find(key);
  if (found != m_byTarget.end()) return found->second;
  SHFILEINFOW info{};
  int icon = SHGetFileInfoW(target.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON)
                 ? info.iIcon
                 : -1;
  m_byTarget[key] = icon;
  return icon;
}

int CIconSource::OwnIcon(const char* path, const char* name) {
  size_t pathLength = lstrlenA(path), nameLength = lstrlenA(name);
  if (nameLength > 0 && pathLength > nameLength + 1 && path[pathLength - nameLength - 1] == '\\' &&
      lstrcmpiA(path + pathLength - nameLength, name) == 0) {
    int icon = IconInFolder(std::string(path, pathLength - nameLength - 1), name);
    if (icon >= 0) return icon;
  }
  return SystemIcon(path, 0, 0);
}

int CIconSource::IconInFolder(const std::string& folder, const char* name) {
  BindFolder(folder);
  if (!m_shellFolder) return -1;
  std::wstring wideName = widetext::FromAnsi(name);
  if (wideName.empty()) return -1;
  ITEMIDLIST* parsed = nullptr;
  if (FAILED(m_shellFolder->ParseDisplayName(nullptr, nullptr, &wideName[0], nullptr, &parsed, nullptr))) return -1;
  PidlHandle child(parsed);
  PidlHandle full(ILCombine(m_folderPidl.Get(), child.Get()));
  if (!full) return -1;
  return SystemIcon(reinterpret_cast<const char*>(full.Get()), 0, SHGFI_PIDL);
}

void CIconSource::BindFolder(const std::string& folder) {
  std::string key = widetext::UpperKey(CString(folder.c_str()));
  if (key == m_folder) return;
  m_folder = key;
  m_shellFolder = ComPtr<IShellFolder>();
  m_folderPidl.Reset();
  ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Receive()))) return;
  std::wstring wideFolder = widetext::FromAnsi(folder.c_str());
  if (wideFolder.empty()) return;
  ITEMIDLIST* parsed = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &wideFolder[0], nullptr, &parsed, nullptr))) return;
  m_folderPidl.Reset(parsed);
  if (FAILED(desktop->BindToObject(m_folderPidl.Get(), nullptr, IID_IShellFolder,
                                   reinterpret_cast<void**>(m_shellFolder.Receive()))))
    m_shellFolder = ComPtr<IShellFolder>();
}
