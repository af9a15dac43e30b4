// CRegistryStore: typed values under HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
// No key stays open between calls: each read or write opens (or creates) the key, does one
// value operation and closes it. Failures are reported by a FALSE result and the thread's
// last error; a failed read leaves the caller's variable as it was.
#pragma once

#include <windows.h>

#include "framework/CString.h"

class CRegistryStore {
 public:
  explicit CRegistryStore(int flushOnClose = 0);

  void SetCompany(const char* name);
  void SetApplication(const char* name);
  const CString& GetCompany() const { return m_company; }
  const CString& GetApplication() const { return m_application; }

  // 8- and 16-bit values are stored as REG_SZ bytes without a terminator, 32-bit values as
  // REG_DWORD, doubles as 8 REG_BINARY bytes.
  BOOL Write(const char* section, const char* name, char value);
  BOOL Write(const char* section, const char* name, unsigned char value);
  BOOL Write(const char* section, const char* name, short value);
  BOOL Write(const char* section, const char* name, unsigned short value);
  BOOL Write(const char* section, const char* name, int value);
  BOOL Write(const char* section, const char* name, unsigned int value);
  BOOL Write(const char* section, const char* name, long value);
  BOOL Write(const char* section, const char* name, unsigned long value);
  BOOL Write(const char* section, const char* name, float value);
  BOOL Write(const char* section, const char* name, double value);
  BOOL WriteString(const char* section, const char* name, const char* text);
  BOOL WriteBinary(const char* section, const char* name, const BYTE* data, DWORD size);

  BOOL Read(const char* section, const char* name, char& value);
  BOOL Read(const char* section, const char* name, unsigned char& value);
  BOOL Read(const char* section, const char* name, short& value);
  BOOL Read(const char* section, const char* name, unsigned short& value);
  BOOL Read(const char* section, const char* name, int& value);
  BOOL Read(const char* section, const char* name, unsigned int& value);
  BOOL Read(const char* section, const char* name, long& value);
  BOOL Read(const char* section, const char* name, unsigned long& value);
  BOOL Read(const char* section, const char* name, float& value);
  BOOL Read(const char* section, const char* name, double& value);
  // `size` gives the buffer's size on entry and receives the stored size.
  BOOL ReadBuffer(const char* section, const char* name, char* buffer, DWORD* size);
  BOOL ReadBuffer(const char* section, const char* name, BYTE* buffer, DWORD* size);

  // Deletes Software\<company> (wholeCompany TRUE and a company set), else
  // Software[\<company>]\<application>; FALSE when that application is empty.
  BOOL DeleteTree(BOOL wholeCompany);

 private:
  CString m_company;
  CString m_application;
  int m_flushOnClose;

  // (The implementation adds its private helpers here.)
};

// The system's message text for the calling thread's last error.
CString LastErrorText();
