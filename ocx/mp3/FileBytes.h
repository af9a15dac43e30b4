// A file opened for reading, read at any offset (the frame parsing's view of a file).
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "ocx/mp3/ByteSource.h"

class CFileBytes : public mp3::IByteSource {
 public:
  // False for a missing file, a folder or a file that cannot be read. `path` is in the ANSI
  // code page, or UTF-8 where it names no file in the code page.
  bool Open(const char* path);
  void Close();
  uint64_t Size() const override { return m_size; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

 private:
  FileHandle m_file;
  uint64_t m_size = 0;
};
