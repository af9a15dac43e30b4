#include "settings/RegistryStore.h"

#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Trace.h"
#include "settings/SectionName.h"

namespace {

// Every failure ends here: the status becomes the thread's last error.
BOOL Report(LONG status) {
  if (status == ERROR_SUCCESS) return TRUE;
  SetLastError(static_cast<DWORD>(status));
  return FALSE;
}

std::string Text(const char* text) { return text ? text : ""; }

// The whole stored value. One spare byte keeps the buffer non-null for an empty value; a
// value that grows between the size query and the read is asked for again.
LONG QueryAll(HKEY key, const char* name, std::vector<BYTE>* bytes) {
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
  for (int attempt = 0; attempt < 3 && status == ERROR_SUCCESS; ++attempt) {
    bytes->resize(size + 1);
    size = static_cast<DWORD>(bytes->size());
    status = RegQueryValueExA(key, name, nullptr, nullptr, bytes->data(), &size);
    if (status == ERROR_SUCCESS) {
      bytes->resize(size);
      return status;
    }
    if (status == ERROR_MORE_DATA) status = ERROR_SUCCESS;
  }
  return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

}  // namespace

CRegistryStore::CRegistryStore(int flushOnClose) : m_flushOnClose(flushOnClose) {}

void CRegistryStore::SetCompany(const char* name) { m_company = NormaliseKeyName(Text(name)).c_str(); }

void CRegistryStore::SetApplication(const char* name) { m_application = NormaliseKeyName(Text(name)).c_str(); }

CString CRegistryStore::BasePath() const {
  CString path("Software");
  if (!m_company.IsEmpty()) path += "\\" + m_company;
  if (!m_application.IsEmpty()) path += "\\" + m_application;
  return path;
}

LONG CRegistryStore::OpenSection(const char* section, bool create, KeyHandle* key) const {
  std::string normalised = NormaliseSectionName(Text(section));
  // Without either name the key would land straight under Software.
  if (m_company.IsEmpty() && m_application.IsEmpty()) return ERROR_INVALID_DATA;
  CString path = BasePath() + "\\" + normalised.c_str();
  HKEY opened = nullptr;
  LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                         nullptr, &opened, nullptr)
                       : RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &opened);
  if (status == ERROR_SUCCESS) key->Reset(opened);
  return status;
}

void CRegistryStore::CloseSection(KeyHandle* key) const {
  if (m_flushOnClose == 1) TRACE_IF_ERROR(RegFlushKey(key->Get()));
  key->Reset();
}

BOOL CRegistryStore::WriteValue(const char* section, const char* name, DWORD type, const void* data, DWORD size) {
  KeyHandle key;
  LONG status = OpenSection(section, true, &key);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size);
    CloseSection(&key);
  }
  return Report(status);
}

LONG CRegistryStore::ReadStored(const char* section, const char* name, std::vector<BYTE>* stored) const {
  KeyHandle key;
  LONG status = OpenSection(section, false, &key);
  if (status == ERROR_SUCCESS) {
    status = QueryAll(key.Get(), name, stored);
    CloseSection(&key);
  }
  return status;
}

BOOL CRegistryStore::ReadExact(const char* section, const char* name, void* value, DWORD width) {
  // The whole value is fetched into scratch, so a longer value never lands partly in the
  // variable and a shorter one never fills only part of it.
  std::vector<BYTE> stored;
  LONG status = ReadStored(section, name, &stored);
  if (status == ERROR_SUCCESS && stored.size() > width) status = ERROR_MORE_DATA;
  if (status == ERROR_SUCCESS && stored.size() < width) status = ERROR_INVALID_DATA;
  if (status == ERROR_SUCCESS) std::memcpy(value, stored.data(), width);
  return Report(status);
}

BOOL CRegistryStore::ReadBytes(const char* section, const char* name, BYTE* buffer, DWORD* size) {
  if (!buffer || !size) return Report(ERROR_INVALID_PARAMETER);
  std::vector<BYTE> stored;
  LONG status = ReadStored(section, name, &stored);
  if (status != ERROR_SUCCESS) return Report(status);
  DWORD needed = static_cast<DWORD>(stored.size());
  if (needed > *size) status = ERROR_MORE_DATA;
  else std::memcpy(buffer, stored.data(), needed);
  *size = needed;
  return Report(status);
}

BOOL CRegistryStore::WriteUnterminated(const char* section, const char* name, const void* value, DWORD width) {
  // The ANSI call looks at the byte after a string and, when that byte is zero, stores it
  // too as the terminator; then the value would read back one byte too long. A non-zero
  // guard after the value keeps the stored size at `width`.
  BYTE bytes[3];
  std::memcpy(bytes, value, width);
  bytes[width] = 0xFF;
  return WriteValue(section, name, REG_SZ, bytes, width);
}

// 8- and 16-bit values go in as string bytes without a terminator.
BOOL CRegistryStore::WriteNumber(const char* section, const char* name, const void* value, DWORD width) {
  if (width < 4) return WriteUnterminated(section, name, value, width);
  return WriteValue(section, name, width == 4 ? REG_DWORD : REG_BINARY, value, width);
}

BOOL CRegistryStore::WriteString(const char* section, const char* name, const char* text) {
  if (!text) return Report(ERROR_INVALID_PARAMETER);
  return WriteValue(section, name, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

BOOL CRegistryStore::WriteBinary(const char* section, const char* name, const BYTE* data, DWORD size) {
  if (!data && size != 0) return Report(ERROR_INVALID_PARAMETER);
  return WriteValue(section, name, REG_BINARY, data, size);
}

BOOL CRegistryStore::ReadBuffer(const char* section, const char* name, char* buffer, DWORD* size) {
  return ReadBytes(section, name, reinterpret_cast<BYTE*>(buffer), size);
}
BOOL CRegistryStore::ReadBuffer(const char* section, const char* name, BYTE* buffer, DWORD* size) {
  return ReadBytes(section, name, buffer, size);
}

BOOL CRegistryStore::DeleteTree(BOOL wholeCompany) {
  CString path;
  if (wholeCompany == 1 && !m_company.IsEmpty()) {
    path = "Software\\" + m_company;
  } else {
    if (m_application.IsEmpty()) return Report(ERROR_INVALID_DATA);
    path = BasePath();
  }
  return Report(SHDeleteKeyA(HKEY_CURRENT_USER, path));
}

CString LastErrorText() { return SystemErrorText(GetLastError()); }
