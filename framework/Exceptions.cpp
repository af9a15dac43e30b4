#include "framework/Exceptions.h"

#include <cstdlib>

#include "framework/WinApp.h"

namespace {
ExceptionRecorder& Recorder() {
  static ExceptionRecorder recorder;
  return recorder;
}
}  // namespace

// Inserts ("%1") are left as they are: the message comes without arguments to fill them.
CString SystemErrorText(DWORD code) {
  char buffer[2048] = {0};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, sizeof buffer,
                 nullptr);
  CString text(buffer);
  text.TrimRight();
  return text;
}

CString CFileException::GetErrorMessage() const {
  CString text;
  text.Format("An error occurred while accessing %s.", m_fileName.IsEmpty() ? "a file" : (const char*)m_fileName);
  CString reason = SystemErrorText(m_osError);
  if (!reason.IsEmpty()) text += "\n" + reason;
  return text;
}

CString COleDispatchException::GetErrorMessage() const {
  if (!m_strDescription.IsEmpty()) return m_strDescription;
  CString text;
  text.Format("A call into a control failed (0x%08lX).", static_cast<unsigned long>(m_scError));
  return text;
}

CString COleException::GetErrorMessage() const {
  CString text;
  text.Format("An OLE operation failed (0x%08lX).", static_cast<unsigned long>(m_sc));
  return text;
}

void AfxSetExceptionRecorder(ExceptionRecorder recorder) { Recorder() = std::move(recorder); }

void AfxReportException(const CString& text) {
  if (Recorder()) {
    Recorder()(text);
    return;
  }
  CWnd* main = AfxGetMainWnd();
  MessageBoxA(main ? main->GetSafeHwnd() : nullptr, text, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

// The C++ library's default handler for an exception that escapes everything names it on
// standard error, which a windowed program does not have, and brings a 44 KB name demangler
// with it; the program's own ends the program in the same way, saying so to a debugger.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  OutputDebugStringA("tidybar: an exception escaped every handler\n");
  std::abort();
}
}  // namespace __gnu_cxx
