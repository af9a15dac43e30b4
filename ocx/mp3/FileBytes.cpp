#include "ocx/mp3/FileBytes.h"

#include "framework/FileNames.h"

bool CFileBytes::Open(const char* path) {
  Close();
  // Others may go on reading and writing the file while it plays (a tag editor, say).
  if (!path) return false;
  // The name may be in the code page or, for one the code page cannot hold, in UTF-8.
  FileHandle file(CreateFileW(filenames::OnDisk(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
  m_file = std::move(file);
  m_size = uint64_t(size.QuadPart);
  return true;
}

void CFileBytes::Close() {
  m_file.Reset();
  m_size = 0;
}

size_t CFileBytes::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (!m_file || offset >= m_size) return 0;
  OVERLAPPED at{};
  at.Offset = DWORD(offset);
  at.OffsetHigh = DWORD(offset >> 32);
  DWORD read = 0;
  DWORD wanted = DWORD(count < 0x40000000 ? count : 0x40000000);
  if (!ReadFile(m_file.Get(), out, wanted, &read, &at)) return 0;
  return read;
}
