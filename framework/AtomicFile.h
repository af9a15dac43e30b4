// Writes a file so that it is replaced only once the new one is completely written: the
// text goes to a temporary file beside it, which then takes the file's place. A write that
// fails half way leaves the old file as it was, and no temporary file behind.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

class CAtomicFile {
 public:
  CAtomicFile() = default;
  virtual ~CAtomicFile();
  CAtomicFile(const CAtomicFile&) = delete;
  CAtomicFile& operator=(const CAtomicFile&) = delete;

  // Starts a new version of `path`; false when its folder cannot take a file.
  bool Begin(const char* path);
  bool Write(const std::string& bytes);
  // Puts the new version in place; false (and the old file untouched) on any failure.
  bool Commit();
  // Drops the new version.
  void Abandon();

 protected:
  // Writes one piece to the temporary file; the only place where bytes reach the disk.
  virtual bool WriteChunk(HANDLE file, const char* data, DWORD size);

 private:
  std::string m_target, m_temporary;
  FileHandle m_file;
  bool m_failed = false;
};
