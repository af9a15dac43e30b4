// CVariant: a VARIANT that clears itself, for the arguments of late-bound calls.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "framework/CString.h"

class CVariant {
 public:
  CVariant() { VariantInit(&m_value); }
  CVariant(const CVariant& other);
  CVariant& operator=(const CVariant& other);
  ~CVariant() { VariantClear(&m_value); }

  static CVariant I2(short value);
  static CVariant I4(long value);
  static CVariant Bool(bool value);
  static CVariant R4(float value);
  static CVariant Text(const char* value);  // an ANSI text passed as a BSTR

  VARIANT& Get() { return m_value; }
  const VARIANT& Get() const { return m_value; }

 private:
  VARIANT m_value;
};

// BSTR <-> ANSI text in the system code page.
CString TextFromBstr(BSTR text);
BSTR BstrFromText(const char* text);
