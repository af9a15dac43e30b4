#include "ocx/fileview/FolderWatcher.h"

#include <cstring>

#include "framework/Handles.h"

namespace {
// Names and attributes are what the view shows; writes into files do not change them.
const DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;
// Folder times may be as coarse as two seconds: within that a new entry can leave the time as it was.
const ULONGLONG kCoarsestTime = 2 * 10000000ULL;

ULONGLONG Ticks(const FILETIME& time) { return ULONGLONG(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

// The folder's time of last change; false when it is not a folder (any more).
bool ChangedAt(const CString& folder, FILETIME* time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(folder, GetFileExInfoStandard, &data)) return false;
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  *time = data.ftLastWriteTime;
  return true;
}

bool IsRecent(const FILETIME& time) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULONGLONG a = Ticks(now), b = Ticks(time);
  return (a > b ? a - b : b - a) < kCoarsestTime;
}

// Whether the folder holds nothing at all, hidden or not (an unreadable one counts as full).
bool HoldsNothing(const CString& folder) {
  CString pattern = folder;
  if (pattern.IsEmpty() || pattern[pattern.GetLength() - 1] != '\\') pattern += "\\";
  WIN32_FIND_DATAA found;
  FindHandle listing(FindFirstFileA(pattern + "*", &found));
  if (!listing) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0) return false;
  } while (FindNextFileA(listing.Get(), &found));
  return true;
}
}  // namespace

bool CFolderWatcher::Watch(const CString& folder) {
  Stop();
  m_folder = folder;
  m_watching = StartLooking();
  return m_watching;
}

void CFolderWatcher::Stop() {
  LetGo();
  m_watching = false;
}

void CFolderWatcher::LetGo() { m_change.Reset(); }

// The time is taken before looking inside, so an entry that comes after the look changes it.
bool CFolderWatcher::StartLooking() {
  LetGo();
  if (!ChangedAt(m_folder, &m_written)) return false;
  if (HoldsNothing(m_folder)) return true;
  m_change.Reset(FindFirstChangeNotificationA(m_folder, FALSE, kWhat));
  return bool(m_change);
}

bool CFolderWatcher::HasChanged() {
  if (!m_watching) return false;
  if (!m_change) return LookAtEmptyFolder();
  if (WaitForSingleObject(m_change.Get(), 0) != WAIT_OBJECT_0) return false;
  // Changes that come while the owner reloads wake the next look, not this one.
  if (!FindNextChangeNotification(m_change.Get())) Stop();
  else if (ChangedAt(m_folder, &m_written) && HoldsNothing(m_folder)) LetGo();
  return true;
}

bool CFolderWatcher::LookAtEmptyFolder() {
  FILETIME written;
  if (!ChangedAt(m_folder, &written)) return true;  // gone: the owner finds out what happened
  bool same = CompareFileTime(&written, &m_written) == 0;
  if (same && (!IsRecent(written) || HoldsNothing(m_folder))) return false;
  m_watching = StartLooking();  // something came: watched again the way it now needs
  return true;
}
