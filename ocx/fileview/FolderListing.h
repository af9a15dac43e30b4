// CFolderListing: the items of one folder as the file view shows them: sub-folders first,
// then the files that match the filter, each group by the name shown. Hidden items stay out of it,
// as in the desktop's own file manager.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CString.h"
#include "ocx/fileview/DisplayNames.h"

// `folder` and `name` joined by exactly one backslash.
CString JoinPath(const CString& folder, const CString& name);
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

struct FileItem {
  CString name;  // the name in the code page, for its extension
  CString path;  // full path that the 8-bit file functions accept (the short form where needed)
  bool isFolder = false;
  std::wstring wideName;  // the name on disk; its full path is the listing's PathOf
  std::wstring label;     // shown under the icon
};

class CFolderListing {
 public:
  enum class Status { kListed, kMissing, kNotAFolder, kUnreadable };

  // Reads `folder`; `filter` holds patterns such as "*.*" or "*.mp3;*.wav" for the files.
  void Read(const std::wstring& folder, const CString& filter);

  Status GetStatus() const { return m_status; }
  // A line that says why the folder shows no items (empty when it was listed).
  CString GetProblemText() const;
  const std::vector<FileItem>& Items() const { return m_items; }
  // The folder as the 8-bit file functions reach it, and as it is.
  const CString& Folder() const { return m_folder; }
  const std::wstring& WideFolder() const { return m_wideFolder; }
  // The item's full path on disk, joined when asked for: kept whole for every item, the
  // folder would be held once per item.
  std::wstring PathOf(const FileItem& item) const { return JoinPath(m_wideFolder, item.wideName); }
  // The index of the item whose path is `path` (any case), or -1.
  int Find(const CString& path) const;
  int Find(const std::wstring& path) const;
  // The names the items show, and the name on disk a new label gives.
  CDisplayNames& Names() { return m_names; }

 private:
  bool Add(const WIN32_FIND_DATAW& found, const std::wstring& filter);
  void SortItems();

  CString m_folder;
  std::wstring m_wideFolder;
  CDisplayNames m_names;
  Status m_status = Status::kMissing;
  DWORD m_error = 0;
  std::vector<FileItem> m_items;
};
