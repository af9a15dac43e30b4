#include "fileops/FileOpsException.h"

#include "framework/Exceptions.h"

CFExeption::CFExeption(DWORD code) : m_text(SystemErrorText(code)), m_code(code) {
  if (m_text.IsEmpty()) m_text.Format("Error %lu", static_cast<unsigned long>(code));
}

CFExeption::CFExeption(const CString& text) : m_text(text), m_code(0) {}
