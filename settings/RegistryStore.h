// CRegistryStore: typed values under HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
// No key stays open between calls: each read or write opens (or creates) the key, does one
// value operation and closes it. Failures are reported by a FALSE result and the thread's
// last error; a failed read leaves the caller's variable as it was.
#pragma once

#include <windows.h>

#include <type_traits>
#include <vector>

#include "framework/CString.h"
#include "framework/Handles.h"

// The number types a store reads and writes: each of them, and nothing that merely converts
// to one (a bool or an enum must say which width it is stored in).
template <class T>
using IfStoredNumber =
    std::enable_if_t<std::is_same_v<T, char> || std::is_same_v<T, unsigned char> || std::is_same_v<T, short> ||
                     std::is_same_v<T, unsigned short> || std::is_same_v<T, int> || std::is_same_v<T, unsigned int> ||
                     std::is_same_v<T, long> || std::is_same_v<T, unsigned long> || std::is_same_v<T, float> ||
                     std::is_same_v<T, double>>;

class CRegistryStore {
 public:
  explicit CRegistryStore(int flushOnClose = 0);

  void SetCompany(const char* name);
  void SetApplication(const char* name);
  const CString& GetCompany() const { return m_company; }
  const CString& GetApplication() const { return m_application; }

  // 8- and 16-bit values are stored as REG_SZ bytes without a terminator, 32-bit values as
  // REG_DWORD, doubles as 8 REG_BINARY bytes.
  template <class Number, class = IfStoredNumber<Number>>
  BOOL Write(const char* section, const char* name, Number value) {
    return WriteNumber(section, name, &value, sizeof value);
  }
  BOOL WriteString(const char* section, const char* name, const char* text);
  BOOL WriteBinary(const char* section, const char* name, const BYTE* data, DWORD size);

  // Each read wants a stored value of exactly the variable's width (the stored type is not
  // looked at): a longer one fails with ERROR_MORE_DATA, a shorter one with ERROR_INVALID_DATA.
  template <class Number, class = IfStoredNumber<Number>>
  BOOL Read(const char* section, const char* name, Number& value) {
    return ReadExact(section, name, &value, sizeof value);
  }
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
  // A number by its width: 1 or 2 bytes as REG_SZ, 4 as REG_DWORD, 8 as REG_BINARY.
  BOOL WriteNumber(const char* section, const char* name, const void* value, DWORD width);
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
