// CFExeption: a failure inside the file operations engine. It is created with new, thrown
// and caught by pointer, and deleted by whoever catches it.
#pragma once

#include <windows.h>

#include "framework/CString.h"

class CFExeption {
 public:
  // The system's message for a Win32 error code.
  explicit CFExeption(DWORD code);
  // The engine's own text; the code is 0.
  explicit CFExeption(const CString& text);

  const CString& GetText() const { return m_text; }
  DWORD GetCode() const { return m_code; }

 private:
  CString m_text;
  DWORD m_code;
};
