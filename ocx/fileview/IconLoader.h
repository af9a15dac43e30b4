// CIconLoader: the shell's large icons for the items of a listing. A file shows its type's
// icon at once (one look-up per extension); folders and files that carry an icon of their own
// (programs, shortcuts, icon files) get it later, a few at a time, so that a large folder shows
// its names at once and input is never kept waiting long. Items the view asks for (the visible
// ones) come first, then the rest in order. Icons are indices into the system image list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "ocx/fileview/FolderListing.h"

class CIconLoader {
 public:
  CIconLoader();
  HIMAGELIST ImageList() const { return m_imageList; }

  // Starts over with a new listing; icons already fetched for the same paths are kept.
  void Reset(const std::vector<FileItem>& items);
  // The icon to draw now for item `index`; asks for its own icon if it is not in yet.
  int IconFor(int index);
  // Fetches icons for about `budgetMs`; the items that changed are added to *changed.
  void LoadSome(DWORD budgetMs, std::vector<int>* changed);
  bool IsPending() const { return m_next < m_icons.size() || !m_wanted.empty(); }
  // Items the view asked for (the visible ones) still wait for their own icon.
  bool IsWantedPending() const { return !m_wanted.empty(); }

 private:
  int Fetch(const FileItem& item);
  int TypeIcon(const CString& extension);

  HIMAGELIST m_imageList = nullptr;
  int m_folderIcon = 0;
  int m_fileIcon = 0;
  std::vector<FileItem> m_items;
  std::vector<int> m_icons;  // -1 until fetched
  std::deque<int> m_wanted;
  size_t m_next = 0;  // where the sweep through the rest goes on
  std::map<std::string, int> m_byPath;
  std::map<std::string, int> m_byType;
};
