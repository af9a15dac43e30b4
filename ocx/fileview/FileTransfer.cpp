#include "ocx/fileview/FileTransfer.h"

#include "fileops/FileOpsEngine.h"

namespace {
CString ParentOf(const CString& path) {
  int slash = path.ReverseFind('\\');
  return slash <= 0 ? CString() : FullPath(path.Left(slash + 1));
}

// True when `inner` is `outer` or lies below it.
bool IsSameOrInside(const CString& outer, const CString& inner) {
  if (inner.CompareNoCase(outer) == 0) return true;
  CString prefix = outer.Right(1) == "\\" ? outer : outer + "\\";
  return inner.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

bool IsFolder(const CString& path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

CString FullPath(const CString& path) {
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(path, MAX_PATH, buffer, nullptr);
  CString full = length > 0 && length < MAX_PATH ? CString(buffer) : path;
  while (full.GetLength() > 3 && full.Right(1) == "\\") full = full.Left(full.GetLength() - 1);
  return full;
}

bool CFileTransfer::Run(const std::vector<CString>& sources, const CString& folder, DWORD effect) {
  CString destination = FullPath(folder);
  for (const CString& path : sources) {
    CString source = FullPath(path);
    if (IsPointless(source, destination, effect)) continue;
    if (effect == DROPEFFECT_MOVE && IsFolder(source) && IsSameOrInside(source, destination)) {
      Fail("The folder " + source + " cannot be moved into itself.");
      continue;
    }
    CFileOpsEngine engine;
    BOOL ok = effect == DROPEFFECT_MOVE ? engine.Move(source, destination) : engine.Copy(source, destination);
    if (ok) ++m_done;
    else Fail(engine.GetErrorText());
  }
  return m_error.IsEmpty();
}

bool CFileTransfer::IsPointless(const CString& source, const CString& folder, DWORD effect) const {
  if (source.CompareNoCase(folder) == 0) return true;  // a folder dropped onto itself
  return effect == DROPEFFECT_MOVE && ParentOf(source).CompareNoCase(folder) == 0;
}

void CFileTransfer::Fail(const CString& text) {
  if (m_error.IsEmpty()) m_error = text.IsEmpty() ? CString("The files could not be transferred.") : text;
}
