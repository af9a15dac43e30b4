#include "ocx/fileview/IconLoader.h"

#include <shlwapi.h>

#include <algorithm>

namespace {
const size_t kMostWanted = 512;

std::string Key(const CString& text) {
  CString upper = text;
  upper.MakeUpper();
  return upper.GetString();
}

bool HasOwnIcon(const FileItem& item) {
  return item.isFolder || CIconSource::HasOwnIcon(PathFindExtensionA(item.name));
}
}  // namespace

bool CIconLoader::FetchInBackground(HWND window, UINT message) {
  m_threadWindow = window;
  m_threadMessage = message;
  return HandOverToThread();
}

void CIconLoader::StopBackground() {
  m_fetcher.Stop();
  m_threadWindow = nullptr;
  m_background = false;
}

// The thread is started once some item needs the shell's look-up of its own icon: a folder
// of documents has only type icons, which this thread has at once, and a thread costs Wine
// some milliseconds to start. Returns false when a thread was needed and none could start.
bool CIconLoader::HandOverToThread() {
  m_background = false;
  if (!m_threadWindow) return true;
  if (!m_fetcher.IsRunning()) {
    bool needed = false;
    for (size_t i = 0; i < m_items.size() && !needed; ++i) needed = m_icons[i] < 0 && HasOwnIcon(m_items[i]);
    if (!needed) return true;
    if (!m_fetcher.Start(m_threadWindow, m_threadMessage)) return false;
  }
  m_background = true;
  SendJobs();
  return true;
}

void CIconLoader::Reset(const std::vector<FileItem>& items) {
  std::map<std::string, int> kept;
  m_items = items;
  m_icons.assign(items.size(), -1);
  m_asked.assign(items.size(), false);
  m_unresolved = items.size();
  m_waiting = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    auto found = m_byPath.find(Key(items[i].path));
    if (found == m_byPath.end()) continue;
    m_icons[i] = found->second;
    --m_unresolved;
    kept.insert(*found);
  }
  m_byPath.swap(kept);  // only the icons of the folder now shown are remembered
  m_wanted.clear();
  m_next = 0;
  HandOverToThread();
}

// The thread gets every item, by index, so that the view can ask for any of them first;
// items whose icons are in already are only marked as known. Items asked for before come
// first.
void CIconLoader::SendJobs() {
  std::vector<IconJob> jobs(m_items.size());
  for (size_t i = 0; i < m_items.size(); ++i) {
    jobs[i].path = m_items[i].path.GetString();
    jobs[i].name = m_items[i].name.GetString();
    jobs[i].isFolder = m_items[i].isFolder;
    jobs[i].known = m_icons[i] >= 0;
  }
  m_fetcher.Fetch(std::move(jobs));
  for (size_t i = 0; i < m_asked.size(); ++i)
    if (m_asked[i]) m_fetcher.Prefer(int(i));
}

// A file's type icon is one remembered look-up per extension, so it is shown at once; it is
// the final icon unless the file carries its own, which is fetched later.
int CIconLoader::IconFor(int index) {
  if (index < 0 || size_t(index) >= m_icons.size()) return m_source.FileIcon();
  size_t at = size_t(index);
  if (m_icons[at] >= 0) return m_icons[at];
  const FileItem& item = m_items[at];
  if (item.isFolder) {
    Want(at);
    return m_source.FolderIcon();
  }
  int typeIcon = m_source.TypeIcon(PathFindExtensionA(item.name));
  if (HasOwnIcon(item)) Want(at);
  else Resolve(at, typeIcon, nullptr);
  return typeIcon;
}

void CIconLoader::Want(size_t index) {
  if (m_asked[index]) return;
  m_asked[index] = true;
  ++m_waiting;
  if (m_background) m_fetcher.Prefer(int(index));
  else if (m_wanted.size() < kMostWanted) m_wanted.push_back(int(index));
}

void CIconLoader::Resolve(size_t index, int icon, std::vector<int>* changed) {
  if (m_icons[index] >= 0) return;
  m_icons[index] = icon;
  --m_unresolved;
  if (m_asked[index]) {
    m_asked[index] = false;
    --m_waiting;
  }
  if (HasOwnIcon(m_items[index])) m_byPath[Key(m_items[index].path)] = icon;
  if (changed) changed->push_back(int(index));
}

void CIconLoader::LoadSome(DWORD budgetMs, std::vector<int>* changed) {
  // A slice stops early when the slowest fetch so far would carry it past its budget,
  // so that no slice keeps input waiting much longer than `budgetMs`.
  DWORD start = GetTickCount();
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
    const FileItem& item = m_items[index];
    DWORD fetchStart = GetTickCount();
    Resolve(index, m_source.IconOf(item.path, item.name, item.isFolder), changed);
    DWORD now = GetTickCount();
    slowest = std::max(slowest, now - fetchStart);
    if (now - start >= budgetMs || now - start + slowest > budgetMs * 2) return;
  }
}

// Items never shown need no redrawing: they are drawn with their icon when they come into
// view. (Redrawing every item of a large folder cost the view's thread more than the icons.)
void CIconLoader::TakeFetched(std::vector<int>* changed) {
  for (const FetchedIcon& fetched : m_fetcher.TakeFetched()) {
    if (fetched.index < 0 || size_t(fetched.index) >= m_icons.size()) continue;
    size_t index = size_t(fetched.index);
    Resolve(index, fetched.icon, m_asked[index] ? changed : nullptr);
  }
  if (m_background && !m_fetcher.IsRunning()) m_background = false;
}
