// CFileTransfer: copies or moves dropped or pasted files and folders into a folder. Items
// the code page can name go through the file operations engine; an item whose name it
// cannot hold goes through the shell's own file operation, which keeps the name whole.
// What would change nothing is passed over (moving an item to the folder it is in,
// dropping a folder onto itself), and a folder is never moved into itself. One failing
// item does not stop the others; the first failure is kept.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CString.h"

class CFileTransfer {
 public:
  // `effect` is DROPEFFECT_COPY or DROPEFFECT_MOVE. True when nothing failed.
  bool Run(const std::vector<std::wstring>& sources, const std::wstring& folder, DWORD effect);
  int GetDone() const { return m_done; }
  // The first failure, as a line for the user.
  const CString& GetErrorText() const { return m_error; }

 private:
  bool IsPointless(const std::wstring& source, const std::wstring& folder, DWORD effect) const;
  bool RunInShell(const std::wstring& source, const std::wstring& folder, DWORD effect);
  void Fail(const CString& text);

  int m_done = 0;
  CString m_error;
};

// The full path, without a trailing backslash (except a drive's root).
std::wstring FullPath(const std::wstring& path);
