// CFolderWatcher: tells whether anything in one folder was added, removed, renamed or
// had its attributes changed since the last look, and whether the folder itself went. The
// owner looks on a timer, so no other thread is needed.
//
// A folder with anything in it is watched through a change handle. An empty one is not held
// open: a handle on it keeps another program's delete of it pending (under Wine the folder
// stays on disk, looking as it was, until the handle is closed), and a folder can only be
// deleted once it is empty. So the watch lets go when the folder empties, and while it is
// empty each look checks its time of last change instead.
#pragma once

#include <windows.h>

#include "framework/CString.h"
#include "framework/Handles.h"

class CFolderWatcher {
 public:
  ~CFolderWatcher() { Stop(); }  // not copied: it owns its change handle

  // Watches `folder`; false when the system cannot watch it (it does not exist, ...).
  bool Watch(const CString& folder);
  void Stop();
  bool IsWatching() const { return m_watching; }
  // True once after each burst of changes, and while the folder is gone; does not wait.
  bool HasChanged();

 private:
  bool StartLooking();
  bool LookAtEmptyFolder();
  void LetGo();

  CString m_folder;
  ChangeNotificationHandle m_change;
  FILETIME m_written{};  // the empty folder's time of last change when last looked at
  bool m_watching = false;
};
