#include "ocx/fileview/FileTransfer.h"

#include <shellapi.h>

#include "fileops/FileOpsEngine.h"
#include "framework/Exceptions.h"
#include "ocx/fileview/WideText.h"

namespace {
std::wstring ParentOf(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos || slash == 0 ? std::wstring() : FullPath(path.substr(0, slash + 1));
}

// True when `inner` is `outer` or lies below it.
bool IsSameOrInside(const std::wstring& outer, const std::wstring& inner) {
  if (widetext::SameText(inner, outer)) return true;
  std::wstring prefix = !outer.empty() && outer.back() == L'\\' ? outer : outer + L"\\";
  return widetext::SameText(inner.substr(0, prefix.size()), prefix);
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, buffer, nullptr);
  std::wstring full = length > 0 && length < MAX_PATH ? std::wstring(buffer) : path;
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

bool CFileTransfer::Run(const std::vector<std::wstring>& sources, const std::wstring& folder, DWORD effect) {
  std::wstring destination = FullPath(folder);
  for (const std::wstring& path : sources) {
    std::wstring source = FullPath(path);
    if (IsPointless(source, destination, effect)) continue;
    if (effect == DROPEFFECT_MOVE && IsFolder(source) && IsSameOrInside(source, destination)) {
      Fail("The folder " + widetext::ToAnsi(source) + " cannot be moved into itself.");
      continue;
    }
    bool lossySource = false, lossyDestination = false;
    CString ansiSource = widetext::ToAnsi(source, &lossySource);
    CString ansiDestination = widetext::ToAnsi(destination, &lossyDestination);
    if (lossySource || lossyDestination) {
      if (RunInShell(source, destination, effect)) ++m_done;
      continue;
    }
    CFileOpsEngine engine;
    BOOL ok = effect == DROPEFFECT_MOVE ? engine.Move(ansiSource, ansiDestination)
                                        : engine.Copy(ansiSource, ansiDestination);
    if (ok) ++m_done;
    else Fail(engine.GetErrorText());
  }
  return m_error.IsEmpty();
}

// The shell asks before it replaces anything and shows its own progress.
bool CFileTransfer::RunInShell(const std::wstring& source, const std::wstring& folder, DWORD effect) {
  std::wstring from = source + L'\0', to = folder + L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = effect == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY;
  operation.pFrom = from.c_str();
  operation.pTo = to.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR;
  int error = SHFileOperationW(&operation);
  if (operation.fAnyOperationsAborted) return false;
  if (error != 0) Fail(widetext::ToAnsi(source) + " could not be transferred.");
  return error == 0;
}

bool CFileTransfer::IsPointless(const std::wstring& source, const std::wstring& folder, DWORD effect) const {
  if (widetext::SameText(source, folder)) return true;  // a folder dropped onto itself
  return effect == DROPEFFECT_MOVE && widetext::SameText(ParentOf(source), folder);
}

void CFileTransfer::Fail(const CString& text) {
  if (m_error.IsEmpty()) m_error = text.IsEmpty() ? CString("The files could not be transferred.") : text;
}
