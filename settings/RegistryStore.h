// CRegistryStore: typed values under HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
// No key stays open between calls: each read or write opens (or creates) the key, does one
// value operation and closes it. Failures are reported by a FALSE result and the thread's
// last error; a failed read leaves the caller's variable as it was.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/CString.h"
#include "framework/Handles.h"

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

  // Each read wants a stored value of exactly the variable's width (the stored type is not
  // looked at): a longer one fails with ERROR_MORE_DATA, a shorter one with ERROR_INVALID_DATA.
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
  // `size` gives the buffer's size on entry and receives the stored size. A buffer too small
  // fails with ERROR_MORE_DATA and is left untouched; null pointers fail with
  // ERROR_INVALID_PARAMETER.
  BOOL ReadBuffer(const char* section, const char* name, char* buffer, DWORD* size);
  BOOL ReadBuffer(const char* section, const char* name, BYTE* buffer, DWORD* size);

  // Deletes Software\<company> (wholeCompany TRUE and a company set), else
  // Software[\<company>]\<application>; FALSE when that application is empty.
  BOOL DeleteTree(BOOL wholeCompany);

 private:
  CString m_company;
  CString m_application;
  int m_flushOnClose;

  // "Software[\<company>][\<application>]".
  CString BasePath() const;
  // Opens the section's key (creating the missing keys on the way when `create`); a Win32
  // status, ERROR_INVALID_DATA when neither company nor application is set.
  LONG OpenSection(const char* section, bool create, KeyHandle* key) const;
  void CloseSection(KeyHandle* key) const;
  BOOL WriteValue(const char* section, const char* name, DWORD type, const void* data, DWORD size);
  // 1 or 2 value bytes as REG_SZ, stored without a terminator.
  BOOL WriteUnterminated(const char* section, const char* name, const void* value, DWORD width);
  // The section's whole stored value.
  LONG ReadStored(const char* section, const char* name, std::vector<BYTE>* stored) const;
  // Reads a value of exactly `width` bytes; `value` changes only on success.
  BOOL ReadExact(const char* section, const char* name, void* value, DWORD width);
  BOOL ReadBytes(const char* section, const char* name, BYTE* buffer, DWORD* size);
};

// The system's message text for the calling thread's last error.
CString LastErrorText();
