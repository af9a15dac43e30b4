#include "ocx/fileview/IconLoader.h"

#include <shlwapi.h>

#include <algorithm>

#include "ocx/fileview/IconWarmUp.h"
#include "ocx/fileview/WideText.h"

namespace {
const size_t kMostWanted = 512;

bool HasOwnIcon(bool isFolder, const char* name) {
  return isFolder || CIconSource::HasOwnIcon(PathFindExtensionA(name));
}
}  // namespace

void CIconLoader::Reset(const std::vector<FileItem>& items) {
  std::map<std::string, int> kept;
  m_items.clear();
  m_items.reserve(items.size());
  for (const FileItem& item : items) m_items.push_back(Item{item.name, item.path, item.isFolder});
  m_icons.assign(items.size(), -1);
  m_asked.assign(items.size(), false);
  m_unresolved = items.size();
  m_waiting = 0;
  for (size_t i = 0; i < items.size() && !m_byPath.empty(); ++i) {
    auto found = m_byPath.find(widetext::UpperKey(items[i].path));
    if (found == m_byPath.end()) continue;
    m_icons[i] = found->second;
    --m_unresolved;
    kept.insert(*found);
  }
  m_byPath.swap(kept);  // only the icons of the folder now shown are remembered
  m_wanted.clear();
  m_next = 0;
  UseMadeIcons();
}

// Icons made ahead for the items (while the pointer rested on the view's button) are final
// at once: the first painting shows them, and they are neither fetched again nor redrawn.
void CIconLoader::UseMadeIcons() {
  iconwarmup::MadeIcons made = iconwarmup::TakeMadeIcons();
  if (made.IsEmpty()) return;
  for (size_t i = 0; i < m_items.size(); ++i) {
    int icon = m_icons[i] < 0 ? made.Find(m_items[i].path) : -1;
    if (icon >= 0) Resolve(i, icon, nullptr);
  }
}

// A file's type icon is one remembered look-up per extension, so it is shown at once; it is
// the final icon unless the file carries its own, which is fetched later.
int CIconLoader::IconFor(int index) {
  if (index < 0 || size_t(index) >= m_icons.size()) return m_source.FileIcon();
  size_t at = size_t(index);
  if (m_icons[at] >= 0) return m_icons[at];
  const Item& item = m_items[at];
  if (item.isFolder) {
    Want(at);
    return m_source.FolderIcon();
  }
  int typeIcon = m_source.TypeIcon(PathFindExtensionA(item.name));
  if (HasOwnIcon(item.isFolder, item.name)) Want(at);
  else Resolve(at, typeIcon, nullptr);
  return typeIcon;
}

void CIconLoader::Want(size_t index) {
  if (m_asked[index]) return;
  m_asked[index] = true;
  ++m_waiting;
  if (m_wanted.size() < kMostWanted) m_wanted.push_back(int(index));
}

void CIconLoader::Resolve(size_t index, int icon, std::vector<int>* changed) {
  if (m_icons[index] >= 0) return;
  m_icons[index] = icon;
  --m_unresolved;
  if (m_asked[index]) {
    m_asked[index] = false;
    --m_waiting;
  }
  if (HasOwnIcon(m_items[index].isFolder, m_items[index].name)) m_byPath[widetext::UpperKey(m_items[index].path)] = icon;
  if (changed) changed->push_back(int(index));
}

// Items never shown need no redrawing: they are drawn with their icon when they come into
// view. (Redrawing every item of a large folder cost more than the icons.)
void CIconLoader::LoadSome(DWORD budgetMs, std::vector<int>* changed) {
  // A slice stops early when the slowest fetch so far would carry it past its budget,
  // so that no slice keeps input waiting much longer than `budgetMs`.
  DWORD start = m_clock();
  DWORD slowest = 0;
  for (;;) {
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
    const Item& item = m_items[index];
    DWORD fetchStart = m_clock();
    Resolve(index, m_source.IconOf(item.path, item.name, item.isFolder), m_asked[index] ? changed : nullptr);
    DWORD now = m_clock();
    slowest = std::max(slowest, now - fetchStart);
    if (now - start >= budgetMs || now - start + slowest > budgetMs * 2) return;
  }
}
