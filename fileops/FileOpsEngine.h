// CFileOpsEngine: copies, moves, renames and deletes files and whole folder trees with the
// Win32 file functions. Public operations return a BOOL and never throw; a failure's text
// and code stay in the object. Copying onto an existing file either replaces it (overwrite
// mode) or picks a free "Copy of " name; deleting a read-only file asks the user first.
// A short-lived object: make one on the stack for each task.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/CString.h"

class CFileOpsEngine {
 public:
  // A file or folder tree into a folder, or a file onto a file. Both must exist.
  BOOL Copy(const CString& source, const CString& destination);
  // Copy, then delete the source. Read-only sources go without asking. Of a folder only what
  // was copied goes; what appeared in it meanwhile stays, and the move returns FALSE.
  BOOL Move(const CString& source, const CString& destination);
  BOOL Rename(const CString& source, const CString& destination);
  // A file or a folder tree. Also TRUE when the user cancelled at the read-only question.
  BOOL Delete(const CString& path);
  void SetOverwrite(bool overwrite) { m_overwrite = overwrite; }

  const CString& GetErrorText() const { return m_errorText; }
  DWORD GetErrorCode() const { return m_errorCode; }
  // Set once the user refused or cancelled a delete; stays set.
  bool IsStopped() const { return m_stopped; }

 private:
  struct FolderId {
    DWORD volume, indexHigh, indexLow;
    bool operator==(const FolderId& other) const {
      return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
  };
  static bool IdentityOf(const CString& path, FolderId* id);
  bool IsOnCopyPath(const FolderId& id) const;
  static bool HoldsFolder(const CString& folder, const FolderId& wanted, std::vector<FolderId>* entered);

  template <class Body> BOOL Guarded(Body body);
  bool IsCopyOntoParent(const CString& source, const CString& destination) const;
  void RefuseMoveIntoItself(const CString& source, const CString& destination) const;
  void LimitSelfNesting(const CString& source, const CString& destination);

  void CopyItem(const CString& source, const CString& destination, bool deleteSource);
  void CopyFolder(const CString& source, CString destination, bool deleteSource);
  void CopyFolderContents(const CString& pattern, const CString& destination, bool deleteSource);
  void CopySubFolder(const CString& folder, const CString& destination, bool deleteSource);
  void CopyOneFile(const CString& source, CString destination, bool deleteSource);

  void RemoveMovedFolders(const CString& source);
  void RemoveEmptiedFolder(const CString& path, CString* stayed, int* count);

  void DeleteItem(const CString& path);
  void DeleteOneFile(const CString& path);
  void DeleteFolder(const CString& path);
  bool PrepareForDelete(const CString& path);

  CString m_errorText = "No error";
  DWORD m_errorCode = 0;
  bool m_askIfReadOnly = true;
  bool m_overwrite = false;
  bool m_stopped = false;
  int m_nestingLimit = -1;
  std::vector<FolderId> m_entered;  // the source folders on the current path of a copy
  FolderId m_output = {};           // the folder a folder copy creates and fills
  bool m_hasOutput = false;         // sub-folder levels a folder copy may still enter; -1: no limit
};
