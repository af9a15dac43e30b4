#include "framework/AtomicFile.h"

#include <algorithm>

namespace {
constexpr size_t kChunkBytes = 4096;

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  return slash == 0 || path[slash - 1] == ':' ? path.substr(0, slash + 1) : path.substr(0, slash);
}
}  // namespace

CAtomicFile::~CAtomicFile() { Abandon(); }

bool CAtomicFile::Begin(const char* path) {
  Abandon();
  if (!path || !*path) return false;
  m_target = path;
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(FolderOf(m_target).c_str(), "tyb", 0, temporary)) return false;
  m_temporary = temporary;
  m_file.Reset(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_file) Abandon();
  m_failed = !m_file;
  return !m_failed;
}

bool CAtomicFile::Write(const std::string& bytes) {
  for (size_t at = 0; at < bytes.size() && !m_failed; at += kChunkBytes) {
    DWORD size = DWORD(std::min(kChunkBytes, bytes.size() - at));
    m_failed = !m_file || !WriteChunk(m_file.Get(), bytes.data() + at, size);
  }
  return !m_failed;
}

bool CAtomicFile::WriteChunk(HANDLE file, const char* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool CAtomicFile::Commit() {
  bool ok = !m_failed && m_file && FlushFileBuffers(m_file.Get());
  m_file.Reset();
  // A file made read-only is one its owner meant to keep (not every system refuses to move over it).
  DWORD attributes = GetFileAttributesA(m_target.c_str());
  ok = ok && (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY));
  ok = ok && MoveFileExA(m_temporary.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (ok) m_temporary.clear();
  Abandon();
  return ok;
}

void CAtomicFile::Abandon() {
  m_file.Reset();
  if (!m_temporary.empty()) DeleteFileA(m_temporary.c_str());
  m_temporary.clear();
  m_failed = true;
}
