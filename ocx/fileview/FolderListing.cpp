#include "ocx/fileview/FolderListing.h"

#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "framework/Exceptions.h"
#include "framework/Handles.h"
#include "ocx/fileview/WideText.h"

CString JoinPath(const CString& folder, const CString& name) {
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] == '\\') return folder + name;
  return folder + "\\" + name;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

void CFolderListing::Read(const std::wstring& folder, const CString& filter) {
  m_wideFolder = folder;
  m_folder = widetext::ReachableAnsiPath(folder);
  if (m_folder.IsEmpty()) m_folder = widetext::ToAnsi(folder);  // for the problem text
  m_items.clear();
  m_error = 0;
  DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    m_error = GetLastError();
    bool missing = folder.empty() || m_error == ERROR_FILE_NOT_FOUND || m_error == ERROR_PATH_NOT_FOUND ||
                   m_error == ERROR_INVALID_NAME || m_error == ERROR_BAD_NETPATH;
    m_status = missing ? Status::kMissing : Status::kUnreadable;
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    m_status = Status::kNotAFolder;
    return;
  }
  m_names.ReadSetting();
  WIN32_FIND_DATAW found;
  FindHandle listing(FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
  if (!listing) {
    m_error = GetLastError();
    m_status = m_error == ERROR_FILE_NOT_FOUND ? Status::kListed : Status::kUnreadable;
    return;
  }
  std::wstring wideFilter = widetext::FromAnsi(filter);
  do {
    Add(found, wideFilter);
  } while (FindNextFileW(listing.Get(), &found));
  SortItems();
  m_status = Status::kListed;
}

// Folders first, then by what is shown, in the order lstrcmpi gives. Sort keys made once per name
// cost far less than comparing the names each time.
void CFolderListing::SortItems() {
  struct Keyed {
    std::string key;
    size_t index;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(m_items.size());
  for (size_t i = 0; i < m_items.size(); ++i) {
    char key[2048];
    int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, m_items[i].label.c_str(), -1,
                              reinterpret_cast<wchar_t*>(key), sizeof key);
    keyed.push_back({std::string(m_items[i].isFolder ? "0" : "1") + std::string(key, size_t(std::max(length, 0))), i});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  std::vector<FileItem> sorted;
  sorted.reserve(m_items.size());
  for (const Keyed& entry : keyed) sorted.push_back(std::move(m_items[entry.index]));
  m_items.swap(sorted);
}

// A name the code page cannot hold is kept as it is; the 8-bit functions reach such an item
// through its short name.
bool CFolderListing::Add(const WIN32_FIND_DATAW& found, const std::wstring& filter) {
  std::wstring name = found.cFileName;
  if (name == L"." || name == L"..") return false;
  if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) return false;
  bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!isFolder && !filter.empty() && !PathMatchSpecW(name.c_str(), filter.c_str())) return false;
  bool lossy = false;
  CString ansiName = widetext::ToAnsi(name, &lossy);
  CString onDisk = lossy ? widetext::ToAnsi(found.cAlternateFileName) : ansiName;
  FileItem item{ansiName, onDisk.IsEmpty() ? CString() : JoinPath(m_folder, onDisk), isFolder};
  item.label = m_names.LabelOf(name, isFolder);
  item.wideName = std::move(name);
  m_items.push_back(std::move(item));
  return true;
}

CString CFolderListing::GetProblemText() const {
  switch (m_status) {
    case Status::kListed:
      return CString();
    case Status::kMissing:
      return m_folder.IsEmpty() ? CString("No folder is set for this view.")
                                : "The folder " + m_folder + " does not exist.";
    case Status::kNotAFolder:
      return m_folder + " is a file, not a folder.";
    default:
      return "The folder " + m_folder + " cannot be read: " + SystemErrorText(m_error);
  }
}

int CFolderListing::Find(const CString& path) const {
  for (size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].path.CompareNoCase(path) == 0) return int(i);
  return -1;
}

int CFolderListing::Find(const std::wstring& path) const {
  for (size_t i = 0; i < m_items.size(); ++i)
    if (widetext::SameText(PathOf(m_items[i]), path)) return int(i);
  return -1;
}
