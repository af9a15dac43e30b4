#include "notes/NoteFile.h"

#include <windows.h>

#include "framework/AtomicFile.h"
#include "framework/Handles.h"
#include "notes/NoteRecord.h"

namespace note {

std::string ReadStoredRecord(const char* path) {
  FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes(kRecordBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

bool SaveNote(const std::string& text, const char* path) {
  if (HoldsNote(ReadStoredRecord(path), text)) return true;
  CAtomicFile file;
  return file.Begin(path) && file.Write(MakeRecord(text)) && file.Commit();
}

}  // namespace note
