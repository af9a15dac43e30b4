#include "framework/File.h"

#include <algorithm>
#include <cstring>

#include "framework/Exceptions.h"

namespace {
DWORD AccessFor(UINT flags) {
  if (flags & CFile::modeReadWrite) return GENERIC_READ | GENERIC_WRITE;
  if (flags & CFile::modeWrite) return GENERIC_WRITE;
  return GENERIC_READ;
}

DWORD DispositionFor(UINT flags) {
  if (!(flags & CFile::modeCreate)) return OPEN_EXISTING;
  return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}
}  // namespace

CFile::CFile(const char* fileName, UINT openFlags) {
  DWORD error = 0;
  if (!CFile::Open(fileName, openFlags, &error)) Fail(error);
}

void CFile::Fail(DWORD error) const { throw CFileException(error, m_fileName); }

BOOL CFile::Open(const char* fileName, UINT openFlags, DWORD* error) {
  Close();
  m_fileName = fileName;
  DWORD share = (openFlags & shareDenyNone) ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  m_file.Reset(CreateFileA(fileName, AccessFor(openFlags), share, nullptr, DispositionFor(openFlags),
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (m_file) return TRUE;
  if (error) *error = GetLastError();
  return FALSE;
}

UINT CFile::Read(void* buffer, UINT count) {
  DWORD done = 0;
  if (!ReadFile(m_file.Get(), buffer, count, &done, nullptr)) Fail(GetLastError());
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  DWORD done = 0;
  if (!WriteFile(m_file.Get(), buffer, count, &done, nullptr) || done != count) Fail(GetLastError());
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  LARGE_INTEGER move, position;
  move.QuadPart = offset;
  if (!SetFilePointerEx(m_file.Get(), move, &position, from)) Fail(GetLastError());
  return ULONGLONG(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_file.Get(), &size)) Fail(GetLastError());
  return ULONGLONG(size.QuadPart);
}

void CFile::Flush() {
  if (m_file && !FlushFileBuffers(m_file.Get())) Fail(GetLastError());
}

void CFile::Close() { m_file.Reset(); }

BOOL CStdioFile::Open(const char* fileName, UINT openFlags, DWORD* error) {
  m_buffer.clear();
  m_bufferPos = 0;
  m_text = !(openFlags & typeBinary);
  return CFile::Open(fileName, openFlags, error);
}

bool CStdioFile::FillBuffer() {
  char chunk[4096];
  UINT got = CFile::Read(chunk, sizeof chunk);
  m_buffer.erase(m_buffer.begin(), m_buffer.begin() + std::ptrdiff_t(m_bufferPos));
  m_bufferPos = 0;
  m_buffer.insert(m_buffer.end(), chunk, chunk + got);
  return got > 0;
}

BOOL CStdioFile::ReadString(CString& line) {
  for (;;) {
    auto start = m_buffer.begin() + std::ptrdiff_t(m_bufferPos);
    auto newline = std::find(start, m_buffer.end(), '\n');
    if (newline != m_buffer.end()) {
      auto stop = newline;
      if (stop != start && *(stop - 1) == '\r') --stop;
      line = CString(&*start, int(stop - start));
      m_bufferPos = size_t(newline - m_buffer.begin()) + 1;
      return TRUE;
    }
    if (!FillBuffer()) break;
  }
  if (m_bufferPos >= m_buffer.size()) {
    line.Empty();
    return FALSE;
  }
  const char* rest = m_buffer.data() + m_bufferPos;
  line = CString(rest, int(m_buffer.size() - m_bufferPos));
  if (line.GetLength() && line[line.GetLength() - 1] == '\r') line.Delete(line.GetLength() - 1);
  m_bufferPos = m_buffer.size();
  return TRUE;
}

void CStdioFile::WriteString(const char* text) {
  CString out(text);
  if (m_text) out.Replace("\n", "\r\n");
  Write(static_cast<const char*>(out), UINT(out.GetLength()));
}

UINT CMemFile::Read(void* buffer, UINT count) {
  size_t n = std::min<size_t>(count, m_data.size() - std::min(m_position, m_data.size()));
  if (n) std::memcpy(buffer, m_data.data() + m_position, n);
  m_position += n;
  return UINT(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (m_position + count > m_data.size()) m_data.resize(m_position + count);
  if (count) std::memcpy(m_data.data() + m_position, buffer, count);
  m_position += count;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
  LONGLONG base = from == begin ? 0 : from == current ? LONGLONG(m_position) : LONGLONG(m_data.size());
  LONGLONG target = base + offset;
  if (target < 0) throw CFileException(ERROR_NEGATIVE_SEEK, "");
  m_position = size_t(target);
  return m_position;
}
