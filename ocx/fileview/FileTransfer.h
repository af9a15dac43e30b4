// CFileTransfer: copies or moves dropped or pasted files and folders into a folder through
// the file operations engine. What would change nothing is passed over (moving an item to
// the folder it is in, dropping a folder onto itself), and a folder is never moved into
// itself. One failing item does not stop the others; the first failure is kept.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/CString.h"

class CFileTransfer {
 public:
  // `effect` is DROPEFFECT_COPY or DROPEFFECT_MOVE. True when nothing failed.
  bool Run(const std::vector<CString>& sources, const CString& folder, DWORD effect);
  int GetDone() const { return m_done; }
  // The first failure, as a line for the user.
  const CString& GetErrorText() const { return m_error; }

 private:
  bool IsPointless(const CString& source, const CString& folder, DWORD effect) const;
  void Fail(const CString& text);

  int m_done = 0;
  CString m_error;
};

// The full path, without a trailing backslash (except a drive's root).
CString FullPath(const CString& path);
