// The framework's exceptions and how one that escapes a handler is reported.
// They are thrown by value and caught by reference; the window procedures catch them so
// that nothing propagates into Windows.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/CString.h"

class CException {
 public:
  virtual ~CException() = default;
  virtual CString GetErrorMessage() const = 0;
};

// A file step failed: the Win32 error code and the file's name.
class CFileException : public CException {
 public:
  CFileException(DWORD osError, const CString& fileName) : m_osError(osError), m_fileName(fileName) {}
  CString GetErrorMessage() const override;
  DWORD m_osError;
  CString m_fileName;
};

// A late-bound call into a hosted control failed.
class COleDispatchException : public CException {
 public:
  COleDispatchException(HRESULT result, const CString& description)
      : m_scError(result), m_strDescription(description) {}
  CString GetErrorMessage() const override;
  HRESULT m_scError;
  CString m_strDescription;
};

// An OLE call (structured storage, an interface request) failed with `m_sc`.
class COleException : public CException {
 public:
  explicit COleException(HRESULT result) : m_sc(result) {}
  CString GetErrorMessage() const override;
  HRESULT m_sc;
};
[[noreturn]] inline void AfxThrowOleException(HRESULT result) { throw COleException(result); }

class CInvalidArgException : public CException {
 public:
  CString GetErrorMessage() const override { return "Invalid argument."; }
};

// The system's text for a Win32 error code, without the trailing line break.
CString SystemErrorText(DWORD code);

// Shows what a handler let escape: a message box with the application's name as caption,
// unless a recorder is installed (tests install one to collect the texts instead).
void AfxReportException(const CString& text);
using ExceptionRecorder = std::function<void(const CString&)>;
void AfxSetExceptionRecorder(ExceptionRecorder recorder);

// Runs `body` and reports whatever it throws. Used at every window procedure boundary.
template <class Body> bool AfxGuard(Body&& body) {
  try {
    body();
    return true;
  } catch (const CException& e) {
    AfxReportException(e.GetErrorMessage());
  } catch (const std::exception& e) {
    AfxReportException(e.what());
  } catch (...) {
    AfxReportException("An unexpected error occurred.");
  }
  return false;
}
