// CIconLoader: the shell's large icons for the items of a listing. A file shows its type's
// icon at once (one look-up per extension); folders and files that carry an icon of their own
// (programs, shortcuts, icon files) get it later, so that a large folder shows its names at
// once and input is never kept waiting long. Items the view asks for (the visible ones) come
// first, then the rest in order. The later icons are looked up a few at a time (LoadSome), on
// the view's own thread; those made ahead (IconWarmUp.h) are in from the start. Icons are
// indices into the system image list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "ocx/fileview/FolderListing.h"
#include "ocx/fileview/IconSource.h"

class CIconLoader {
 public:
  CIconLoader() = default;
  HIMAGELIST ImageList() const { return m_source.ImageList(); }

  // Starts over with a new listing; icons already fetched for the same paths are kept.
  void Reset(const std::vector<FileItem>& items);
  // The icon to draw now for item `index`; asks for its own icon if it is not in yet.
  int IconFor(int index);
  // Fetches icons for about `budgetMs`, at least one; the items shown with a stand-in icon
  // that now have their own are added to *changed.
  void LoadSome(DWORD budgetMs, std::vector<int>* changed);
  bool IsPending() const { return m_unresolved > 0; }
  size_t CountPending() const { return m_unresolved; }
  // Items the view asked for (the visible ones) still wait for their own icon.
  bool IsWantedPending() const { return m_waiting > 0; }
  // The milliseconds the slices are measured with: GetTickCount, or a test's stand-in.
  void SetClock(DWORD(WINAPI* clock)()) { m_clock = clock; }

 private:
  void UseMadeIcons();
  void Want(size_t index);
  void Resolve(size_t index, int icon, std::vector<int>* changed);

  // Of an item, what its icon needs; the wide names stay with the listing.
  struct Item {
    CString name;
    CString path;
    bool isFolder;
  };

  CIconSource m_source;
  std::vector<Item> m_items;
  std::vector<int> m_icons;   // -1 until final
  std::vector<bool> m_asked;  // shown with a stand-in icon and waiting for its own
  size_t m_unresolved = 0;
  size_t m_waiting = 0;
  std::deque<int> m_wanted;  // asked-for items, first in line for LoadSome
  size_t m_next = 0;         // where LoadSome's sweep through the rest goes on
  std::map<std::string, int> m_byPath;
  DWORD(WINAPI* m_clock)() = &GetTickCount;
};
