#include "ocx/fileview/FolderWatcher.h"

bool CFolderWatcher::Watch(const CString& folder) {
  Stop();
  // Names and attributes are what the view shows; writes into files do not change them.
  const DWORD what = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;
  m_change = FindFirstChangeNotificationA(folder, FALSE, what);
  return IsWatching();
}

void CFolderWatcher::Stop() {
  if (IsWatching()) FindCloseChangeNotification(m_change);
  m_change = INVALID_HANDLE_VALUE;
}

bool CFolderWatcher::HasChanged() {
  if (!IsWatching() || WaitForSingleObject(m_change, 0) != WAIT_OBJECT_0) return false;
  // Changes that come while the owner reloads wake the next look, not this one.
  if (!FindNextChangeNotification(m_change)) Stop();
  return true;
}
