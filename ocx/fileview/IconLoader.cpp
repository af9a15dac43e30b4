#include "ocx/fileview/IconLoader.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

namespace {
int SystemIcon(const char* path, DWORD attributes, UINT flags) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path, attributes, &info, sizeof info, flags | SHGFI_SYSICONINDEX | SHGFI_LARGEICON)) return -1;
  return info.iIcon;
}

std::string Key(const CString& text) {
  CString upper = text;
  upper.MakeUpper();
  return upper.GetString();
}

// Files of these types carry icons of their own; every other file shows its type's icon.
bool HasOwnIcon(const CString& extension) {
  static const char* const kinds[] = {".EXE", ".LNK", ".ICO", ".CUR", ".ANI", ".URL", ".PIF", ".SCR", ".CPL", ".MSC"};
  for (const char* kind : kinds)
    if (extension.CompareNoCase(kind) == 0) return true;
  return false;
}
}  // namespace

CIconLoader::CIconLoader() {
  SHFILEINFOA info{};
  m_imageList =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
  m_folderIcon = std::max(0, SystemIcon("folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES));
  m_fileIcon = std::max(0, SystemIcon("file", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES));
}

void CIconLoader::Reset(const std::vector<FileItem>& items) {
  std::map<std::string, int> kept;
  m_items = items;
  m_icons.assign(items.size(), -1);
  for (size_t i = 0; i < items.size(); ++i) {
    auto found = m_byPath.find(Key(items[i].path));
    if (found == m_byPath.end()) continue;
    m_icons[i] = found->second;
    kept.insert(*found);
  }
  m_byPath.swap(kept);  // only the icons of the folder now shown are remembered
  m_wanted.clear();
  m_next = 0;
}

// A file's type icon is one cached look-up per extension, so it is shown at once; it is the
// final icon unless the file carries its own, which is fetched later.
int CIconLoader::IconFor(int index) {
  if (index < 0 || size_t(index) >= m_icons.size()) return m_fileIcon;
  int& icon = m_icons[size_t(index)];
  if (icon >= 0) return icon;
  const FileItem& item = m_items[size_t(index)];
  if (item.isFolder) {
    if (m_wanted.size() < 512) m_wanted.push_back(index);
    return m_folderIcon;
  }
  CString extension = PathFindExtensionA(item.name);
  int typeIcon = TypeIcon(extension);
  if (typeIcon < 0) typeIcon = m_fileIcon;
  if (!HasOwnIcon(extension)) return icon = typeIcon;
  if (m_wanted.size() < 512) m_wanted.push_back(index);
  return typeIcon;
}

void CIconLoader::LoadSome(DWORD budgetMs, std::vector<int>* changed) {
  // A slice stops early when the slowest fetch so far would carry it past its budget,
  // so that no slice keeps input waiting much longer than `budgetMs`.
  DWORD start = GetTickCount();
  DWORD slowest = 0;
  for (DWORD spent = 0; spent < budgetMs && (slowest == 0 || spent + slowest <= budgetMs * 2);
       spent = GetTickCount() - start) {
    size_t index;
    if (!m_wanted.empty()) {
      index = size_t(m_wanted.front());
      m_wanted.pop_front();
    } else if (m_next < m_icons.size()) {
      index = m_next++;
    } else {
      return;
    }
    if (m_icons[index] >= 0) continue;
    DWORD fetchStart = GetTickCount();
    m_icons[index] = Fetch(m_items[index]);
    slowest = std::max(slowest, GetTickCount() - fetchStart);
    m_byPath[Key(m_items[index].path)] = m_icons[index];
    if (changed) changed->push_back(int(index));
  }
}

int CIconLoader::Fetch(const FileItem& item) {
  int fallback = item.isFolder ? m_folderIcon : m_fileIcon;
  CString extension = PathFindExtensionA(item.name);
  int icon = item.isFolder || HasOwnIcon(extension) ? SystemIcon(item.path, 0, 0) : TypeIcon(extension);
  return icon >= 0 ? icon : fallback;
}

int CIconLoader::TypeIcon(const CString& extension) {
  auto found = m_byType.find(Key(extension));
  if (found != m_byType.end()) return found->second;
  int icon = SystemIcon("file" + extension, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
  m_byType[Key(extension)] = icon;
  return icon;
}
