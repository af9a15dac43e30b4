#include "fileops/FileOpsEngine.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "fileops/CopyNames.h"
#include "fileops/FileOpsException.h"
#include "framework/Handles.h"

namespace {

enum Kind { kError = -1, kNotFound = 0, kFile = 1, kFolder = 2 };

const char kWrongOperation[] = "Wrong operation";

// The "\\?\" form of a full drive path, which the system takes by its exact name: without it
// "a." and "b " would be opened as "a" and "b". Paths with "." or ".." steps, relative
// paths and network paths keep their ordinary form, which the system must resolve.
CString Exact(const CString& path) {
  std::string text(path.GetString());
  bool drivePath = text.size() >= 3 && text[1] == ':' && copynames::IsSeparator(text[2]);
  if (!drivePath) return path;
  std::string tidy;
  for (char c : text) {
    if (c == '/') c = '\\';
    if (c != '\\' || tidy.empty() || tidy.back() != '\\') tidy += c;  // one separator, as the system reads it
  }
  text = tidy;
  std::string padded = text + "\\";
  if (padded.find("\\.\\") != std::string::npos || padded.find("\\..\\") != std::string::npos) return path;
  return CString(("\\\\?\\" + text).c_str());
}

int ItemKind(const CString& path) {
  DWORD attributes = GetFileAttributesA(Exact(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? kNotFound : kError;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kFolder : kFile;
}

// The kind of an item that must be looked at; a path the system cannot even look up (too
// long, bad characters, no access) fails with the system's reason instead of being passed
// over as if nothing were there.
int CheckedKind(const CString& path) {
  int kind = ItemKind(path);
  if (kind == kError) throw new CFExeption(GetLastError());
  return kind;
}

void ThrowLastError() { throw new CFExeption(GetLastError()); }

bool Exists(const CString& path) { return GetFileAttributesA(Exact(path)) != INVALID_FILE_ATTRIBUTES; }

bool IsDotEntry(const char* name) { return !strcmp(name, ".") || !strcmp(name, ".."); }

CString WithSeparator(const CString& path) {
  if (!path.IsEmpty() && copynames::IsSeparator(path[path.GetLength() - 1])) return path;
  return path + "\\";
}

CString FileNameOf(const CString& path) {
  copynames::PathParts parts = copynames::SplitPath(path.GetString());
  return CString((parts.name + parts.extension).c_str());
}

// The full path in upper case, so that two spellings of one folder compare equal.
std::string Canonical(const CString& path) {
  std::string full(path.GetString());
  DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);
  if (needed > 0) {
    std::string buffer(needed, '\0');
    DWORD length = GetFullPathNameA(path, needed, &buffer[0], nullptr);
    if (length > 0 && length < needed) full = buffer.substr(0, length);
  }
  if (!full.empty()) CharUpperBuffA(&full[0], static_cast<DWORD>(full.size()));
  return full;
}

}  // namespace

// Which folder a path reaches, whatever way it goes: links and other spellings of one
// folder give the same identity. False when the folder cannot be opened.
bool CFileOpsEngine::IdentityOf(const CString& path, FolderId* id) {
  FileHandle folder(CreateFileA(Exact(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!folder || !GetFileInformationByHandle(folder.Get(), &information)) return false;
  *id = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
  return true;
}

bool CFileOpsEngine::IsOnCopyPath(const FolderId& id) const {
  if (m_hasOutput && id == m_output) return true;  // the copy's own output, reached through a link
  for (const FolderId& entered : m_entered)
    if (id == entered) return true;
  return false;
}

template <class Body> BOOL CFileOpsEngine::Guarded(Body body) {
  std::unique_ptr<CFExeption> failure;
  try {
    body();
    return TRUE;
  } catch (CFExeption* caught) {
    failure.reset(caught);
  } catch (const std::bad_alloc&) {
    m_errorCode = ERROR_NOT_ENOUGH_MEMORY;  // no room for a text either; the code says it
    return FALSE;
  }
  m_errorText = failure->GetText();
  m_errorCode = failure->GetCode();
  return FALSE;
}

BOOL CFileOpsEngine::Copy(const CString& source, const CString& destination) {
  if (IsCopyOntoParent(source, destination)) return TRUE;
  m_entered.clear();
  m_hasOutput = false;
  BOOL ok = Guarded([&] { CopyItem(source, destination, false); });
  m_nestingLimit = -1;
  return ok;
}

BOOL CFileOpsEngine::Move(const CString& source, const CString& destination) {
  if (IsCopyOntoParent(source, destination)) return TRUE;
  bool askIfReadOnly = m_askIfReadOnly;
  m_askIfReadOnly = false;
  m_entered.clear();
  m_hasOutput = false;
  BOOL ok = Guarded([&] {
    RefuseMoveIntoItself(source, destination);
    bool isFolder = ItemKind(source) == kFolder;
    CopyItem(source, destination, isFolder);
    if (isFolder) RemoveMovedFolders(source);
    else DeleteItem(source);
  });
  m_askIfReadOnly = askIfReadOnly;
  m_nestingLimit = -1;
  return ok;
}

BOOL CFileOpsEngine::Rename(const CString& source, const CString& destination) {
  return Guarded([&] {
    if (!MoveFileA(source, destination)) ThrowLastError();
  });
}

BOOL CFileOpsEngine::Delete(const CString& path) {
  return Guarded([&] { DeleteItem(path); }) || m_errorCode == 0;
}

// A folder copied into the folder that already holds it would only meet itself.
bool CFileOpsEngine::IsCopyOntoParent(const CString& source, const CString& destination) const {
  return ItemKind(source) == kFolder && copynames::IsParentFolder(Canonical(source), Canonical(destination));
}

// Moving a folder into itself would end by deleting the copy together with the source.
void CFileOpsEngine::RefuseMoveIntoItself(const CString& source, const CString& destination) const {
  if (ItemKind(source) != kFolder) return;
  if (copynames::IsSameOrInside(Canonical(source), Canonical(destination)))
    throw new CFExeption(CString(kWrongOperation));
  // By another path (a link into the source): the destination is one of the source's folders.
  FolderId destinationId;
  std::vector<FolderId> entered;
  if (IdentityOf(destination, &destinationId) && HoldsFolder(source, destinationId, &entered))
    throw new CFExeption(CString(kWrongOperation));
}

// Whether `folder` or a folder below it is `wanted`; a folder met twice is not entered again.
bool CFileOpsEngine::HoldsFolder(const CString& folder, const FolderId& wanted, std::vector<FolderId>* entered) {
  FolderId id;
  if (!IdentityOf(folder, &id)) return false;
  if (id == wanted) return true;
  for (const FolderId& seen : *entered)
    if (seen == id) return false;
  entered->push_back(id);
  CString prefix = WithSeparator(folder);
  WIN32_FIND_DATAA found;
  FindHandle listing(FindFirstFileA(Exact(prefix + "*.*"), &found));
  if (!listing) return false;
  do {
    if (!IsDotEntry(found.cFileName) && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        HoldsFolder(prefix + found.cFileName, wanted, entered))
      return true;
  } while (FindNextFileA(listing.Get(), &found));
  return false;
}

// A folder copied into one of its own sub-folders may go only as deep as the destination
// lies below the source, so that it does not copy its own output again.
void CFileOpsEngine::LimitSelfNesting(const CString& source, const CString& destination) {
  int limit = copynames::NestingLimit(Canonical(source), Canonical(destination));
  if (limit >= 0) m_nestingLimit = limit;
}

void CFileOpsEngine::CopyItem(const CString& source, const CString& destination, bool deleteSource) {
  LimitSelfNesting(source, destination);
  int sourceKind = CheckedKind(source);
  if (sourceKind == kNotFound) throw new CFExeption(source + " not found");
  int destinationKind = CheckedKind(destination);
  if (destinationKind == kNotFound) throw new CFExeption(destination + " not found");
  if (sourceKind == kFolder && destinationKind == kFile) throw new CFExeption(CString(kWrongOperation));

  if (sourceKind == kFolder) CopyFolder(source, destination, deleteSource);
  else if (destinationKind == kFile) CopyOneFile(source, destination, false);
  else CopyOneFile(source, WithSeparator(destination) + FileNameOf(source), false);
}

// The folder itself is created inside the destination, then filled.
void CFileOpsEngine::CopyFolder(const CString& source, CString destination, bool deleteSource) {
  CString pattern = WithSeparator(source) + "*.*";
  {
    WIN32_FIND_DATAA found;
    FindHandle listing(FindFirstFileA(Exact(pattern), &found));
    if (!listing) throw new CFExeption(source + " not found");
  }
  destination = WithSeparator(destination);
  CString name = copynames::LastFolderName(pattern.GetString()).c_str();
  if (!name.IsEmpty()) {
    destination += name + "\\";
    if (!CreateDirectoryA(Exact(destination), nullptr)) {
      DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS) throw new CFExeption(error);
    }
  }
  m_hasOutput = IdentityOf(destination, &m_output);
  FolderId id;
  if (IdentityOf(source, &id)) m_entered.push_back(id);
  CopyFolderContents(pattern, destination, deleteSource);
}

void CFileOpsEngine::CopyFolderContents(const CString& pattern, const CString& destination, bool deleteSource) {
  CString folder = pattern.Left(pattern.ReverseFind('\\') + 1);
  WIN32_FIND_DATAA found;
  FindHandle listing(FindFirstFileA(Exact(pattern), &found));
  if (!listing) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return;  // nothing in it
    throw new CFExeption(error);  // a sub-folder that cannot be read is not skipped in silence
  }
  do {
    if (IsDotEntry(found.cFileName)) continue;
    CString name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopySubFolder(folder + name, destination + name + "\\", deleteSource);
    else CopyOneFile(folder + name, destination + name, deleteSource);
  } while (FindNextFileA(listing.Get(), &found));
  if (GetLastError() != ERROR_NO_MORE_FILES) ThrowLastError();
}

// A folder already being copied, reached again through a link, would be copied into itself
// without end: it is passed over.
void CFileOpsEngine::CopySubFolder(const CString& folder, const CString& destination, bool deleteSource) {
  if (m_nestingLimit == 0) return;
  FolderId id;
  bool known = IdentityOf(folder, &id);
  if (known && IsOnCopyPath(id)) return;
  if (ItemKind(destination) != kFolder && !CreateDirectoryA(Exact(destination), nullptr)) ThrowLastError();
  if (m_nestingLimit > 0) --m_nestingLimit;  // one budget for the whole copy, never refilled
  if (known) m_entered.push_back(id);
  CopyFolderContents(folder + "\\*.*", destination, deleteSource);
  if (known) m_entered.pop_back();
}

void CFileOpsEngine::CopyOneFile(const CString& source, CString destination, bool deleteSource) {
  if (!m_overwrite) {
    // Anything already under the name, file or folder, makes the copy take the next name.
    while (Exists(destination)) destination = copynames::NextCopyName(destination.GetString()).c_str();
  }
  if (!CopyFileA(Exact(source), Exact(destination), m_overwrite ? FALSE : TRUE)) ThrowLastError();
  if (deleteSource) DeleteItem(source);
}

void CFileOpsEngine::DeleteItem(const CString& path) {
  int kind = ItemKind(path);
  if (kind == kFile) DeleteOneFile(path);
  else if (kind == kFolder) DeleteFolder(path);
  else if (!RemoveDirectoryA(Exact(path)))  // not there or not reachable: the system says why
    ThrowLastError();
}

void CFileOpsEngine::DeleteOneFile(const CString& path) {
  if (!PrepareForDelete(path)) {
    m_stopped = true;
    return;
  }
  if (!DeleteFileA(Exact(path))) ThrowLastError();
}

// Depth first. A linked folder (junction or symbolic link) is removed as a link: what it
// points at lies outside the tree being deleted.
void CFileOpsEngine::DeleteFolder(const CString& path) {
  CString folder = WithSeparator(path);
  DWORD attributes = GetFileAttributesA(Exact(path));
  bool isLink = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  if (!isLink) {
    WIN32_FIND_DATAA found;
    FindHandle listing(FindFirstFileA(Exact(folder + "*.*"), &found));
    if (listing) {
      do {
        if (!IsDotEntry(found.cFileName)) DeleteItem(folder + found.cFileName);
      } while (FindNextFileA(listing.Get(), &found));
    }
  }
  if (!RemoveDirectoryA(Exact(path))) {
    DWORD error = GetLastError();
    if (!m_stopped) throw new CFExeption(error);  // a file the user kept holds its folder
  }
}

// After a folder's files were moved one by one, only its emptied folders go: anything that
// appeared in the tree during the move was never copied and stays, and the move says so.
void CFileOpsEngine::RemoveMovedFolders(const CString& source) {
  CString stayed;
  int count = 0;
  RemoveEmptiedFolder(source, &stayed, &count);
  if (count > 0) {
    CString text = source + " changed during the move: ";
    text += count == 1 ? CString("1 item") : CString(std::to_string(count).c_str()) + " items";
    throw new CFExeption(text + " stayed there, among them " + stayed);
  }
}

void CFileOpsEngine::RemoveEmptiedFolder(const CString& path, CString* stayed, int* count) {
  DWORD attributes = GetFileAttributesA(Exact(path));
  bool isLink = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  if (!isLink) {
    CString folder = WithSeparator(path);
    WIN32_FIND_DATAA found;
    FindHandle listing(FindFirstFileA(Exact(folder + "*.*"), &found));
    if (listing) {
      do {
        if (IsDotEntry(found.cFileName)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveEmptiedFolder(folder + found.cFileName, stayed, count);
        } else {
          if ((*count)++ == 0) *stayed = folder + found.cFileName;
        }
      } while (FindNextFileA(listing.Get(), &found));
    }
  }
  if (!RemoveDirectoryA(Exact(path)) && *count == 0) {
    ++*count;  // a folder that appeared empty after its listing, or one the system keeps
    *stayed = path;
  }
}

// False only when the user chose to keep the file. Cancel ends the whole operation.
bool CFileOpsEngine::PrepareForDelete(const CString& path) {
  DWORD attributes = GetFileAttributesA(Exact(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
  if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
  if (m_askIfReadOnly) {
    CString question = FileNameOf(path) + " is read olny. Do you want delete it?";
    int answer = MessageBoxA(nullptr, question, "Warning", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) {
      m_stopped = true;
      throw new CFExeption(static_cast<DWORD>(0));
    }
    if (answer != IDYES) return false;
  }
  if (!SetFileAttributesA(Exact(path), FILE_ATTRIBUTE_NORMAL)) ThrowLastError();
  return true;
}
