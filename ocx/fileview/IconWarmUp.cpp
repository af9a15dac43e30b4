#include "ocx/fileview/IconWarmUp.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <atomic>
#include <set>
#include <utility>

#include "framework/Trace.h"
#include "ocx/fileview/FolderListing.h"
#include "ocx/fileview/IconSource.h"
#include "ocx/fileview/WideText.h"

namespace {
// About what a category window shows without scrolling, and a little more.
const size_t kItemsPrepared = 24;

SRWLOCK g_lock = SRWLOCK_INIT;
// The folder asked for last and not yet taken, under g_lock. Never destroyed: a program that
// ends while a preparation runs destroys its statics before the thread is stopped.
std::wstring& g_wanted = *new std::wstring;
bool g_running = false;  // under g_lock
std::map<std::string, int>& g_made = *new std::map<std::string, int>;  // for the next view, under g_lock
std::atomic<bool> g_standAside{false};

class LockScope {
 public:
  LockScope() { AcquireSRWLockExclusive(&g_lock); }
  ~LockScope() { ReleaseSRWLockExclusive(&g_lock); }
  LockScope(const LockScope&) = delete;
  LockScope& operator=(const LockScope&) = delete;
};

std::set<std::wstring>& AskedFor() {  // in upper case; the window thread's only
  static std::set<std::wstring> folders;
  return folders;
}

// The next folder to prepare; false, and the thread is over, when none is wanted.
bool TakeWanted(std::wstring* folder) {
  LockScope lock;
  if (g_wanted.empty()) {
    g_running = false;
    return false;
  }
  *folder = std::move(g_wanted);
  g_wanted.clear();
  return true;
}

// Each item as the view will ask for it: its type's icon, and its own where it has one.
void PrepareItems(CIconSource& source, const std::wstring& folder) {
  CFolderListing listing;
  listing.Read(folder, "*.*");
  size_t count = 0;
  for (const FileItem& item : listing.Items()) {
    if (count++ == kItemsPrepared || g_standAside) return;
    const char* extension = PathFindExtensionA(item.name);
    if (!item.isFolder) source.TypeIcon(extension);
    if (!item.isFolder && !CIconSource::HasOwnIcon(extension)) continue;
    int icon = source.IconOf(item.path, item.name, item.isFolder);
    LockScope lock;
    g_made[widetext::UpperKey(item.path)] = icon;
  }
}

DWORD WINAPI PrepareOnThread(void*) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    CIconSource source;  // makes the shell's image list
    trace::Step("click", "the shell's image list made ahead");
    for (std::wstring folder; TakeWanted(&folder);) {
      if (g_standAside) continue;
      PrepareItems(source, folder);
      trace::Step("click", "the first items' icons made ahead");
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
}  // namespace

namespace iconwarmup {
void Prepare(const std::wstring& folder) {
  if (folder.empty() || !AskedFor().insert(widetext::UpperKey(folder)).second) return;
  g_standAside = false;
  bool start = false;
  {
    LockScope lock;
    g_wanted = folder;
    start = !std::exchange(g_running, true);
  }
  if (!start) return;
  trace::Step("click", "making icons ahead");
  HANDLE thread = CreateThread(nullptr, 0, &PrepareOnThread, nullptr, 0, nullptr);
  if (thread) {
    CloseHandle(thread);
    return;
  }
  LockScope lock;  // the next hover tries again
  g_running = false;
  g_wanted.clear();
  AskedFor().erase(widetext::UpperKey(folder));
}

void StandAside() { g_standAside = true; }

int MadeIcons::Find(const CString& path) const {
  auto found = m_byPath.find(widetext::UpperKey(path));
  return found == m_byPath.end() ? -1 : found->second;
}

MadeIcons TakeMadeIcons() {
  MadeIcons made;
  LockScope lock;
  made.m_byPath.swap(g_made);
  return made;
}

bool WasAskedFor(const std::wstring& folder) { return AskedFor().count(widetext::UpperKey(folder)) > 0; }

bool IsRunning() {
  LockScope lock;
  return g_running;
}
}  // namespace iconwarmup
