#include "ocx/fileview/FolderListing.h"

#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "framework/Exceptions.h"
#include "framework/Handles.h"

CString JoinPath(const CString& folder, const CString& name) {
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] == '\\') return folder + name;
  return folder + "\\" + name;
}

void CFolderListing::Read(const CString& folder, const CString& filter) {
  m_folder = folder;
  m_items.clear();
  m_error = 0;
  DWORD attributes = folder.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    m_error = GetLastError();
    bool missing = folder.IsEmpty() || m_error == ERROR_FILE_NOT_FOUND || m_error == ERROR_PATH_NOT_FOUND ||
                   m_error == ERROR_INVALID_NAME || m_error == ERROR_BAD_NETPATH;
    m_status = missing ? Status::kMissing : Status::kUnreadable;
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    m_status = Status::kNotAFolder;
    return;
  }
  WIN32_FIND_DATAA found;
  FindHandle listing(FindFirstFileA(JoinPath(folder, "*"), &found));
  if (!listing) {
    m_error = GetLastError();
    m_status = m_error == ERROR_FILE_NOT_FOUND ? Status::kListed : Status::kUnreadable;
    return;
  }
  do {
    Add(found, filter);
  } while (FindNextFileA(listing.Get(), &found));
  SortItems();
  m_status = Status::kListed;
}

// Folders first, then by name in the order lstrcmpi gives. Sort keys made once per name
// cost far less than comparing the names each time.
void CFolderListing::SortItems() {
  struct Keyed {
    std::string key;
    size_t index;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(m_items.size());
  for (size_t i = 0; i < m_items.size(); ++i) {
    char key[1024];
    int length =
        LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, m_items[i].name, -1, key, sizeof key);
    keyed.push_back({std::string(m_items[i].isFolder ? "0" : "1") + std::string(key, size_t(std::max(length, 0))), i});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  std::vector<FileItem> sorted;
  sorted.reserve(m_items.size());
  for (const Keyed& entry : keyed) sorted.push_back(std::move(m_items[entry.index]));
  m_items.swap(sorted);
}

// A name the code page cannot hold comes back with "?" in it, which no real file name has;
// such an item is reached through its short name.
bool CFolderListing::Add(const WIN32_FIND_DATAA& found, const CString& filter) {
  CString name = found.cFileName;
  if (name == "." || name == "..") return false;
  if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) return false;
  bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!isFolder && !filter.IsEmpty() && !PathMatchSpecA(name, filter)) return false;
  CString onDisk = name;
  if (name.Find('?') >= 0) {
    if (!found.cAlternateFileName[0]) return false;  // cannot be reached with 8-bit paths
    onDisk = found.cAlternateFileName;
  }
  m_items.push_back(FileItem{name, JoinPath(m_folder, onDisk), isFolder});
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
