#include "fileops/FileOpsException.h"

#include <memory>

namespace {
struct LocalFreer {
  void operator()(char* buffer) const { LocalFree(buffer); }
};
}  // namespace

CFExeption::CFExeption(DWORD code) : m_code(code) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::unique_ptr<char, LocalFreer> owned(buffer);
  if (length == 0 || !buffer) {
    m_text.Format("Error %lu", static_cast<unsigned long>(code));
    return;
  }
  m_text = CString(buffer, static_cast<int>(length));
  m_text.TrimRight();  // the system ends its messages with a line break
}

CFExeption::CFExeption(const CString& text) : m_text(text), m_code(0) {}
