// CFolderWatcher: tells whether anything in one folder was added, removed, renamed or
// had its attributes changed since the last look. The owner looks on a timer, so no other thread is needed.
#pragma once

#include <windows.h>

#include "framework/CString.h"

class CFolderWatcher {
 public:
  CFolderWatcher() = default;
  ~CFolderWatcher() { Stop(); }
  CFolderWatcher(const CFolderWatcher&) = delete;
  CFolderWatcher& operator=(const CFolderWatcher&) = delete;

  // Watches `folder`; false when the system cannot watch it (it does not exist, ...).
  bool Watch(const CString& folder);
  void Stop();
  bool IsWatching() const { return m_change != INVALID_HANDLE_VALUE; }
  // True once after each burst of changes; does not wait.
  bool HasChanged();

 private:
  HANDLE m_change = INVALID_HANDLE_VALUE;
};
