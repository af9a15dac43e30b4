// CVariant: a VARIANT that clears itself, for the arguments of late-bound calls.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstring>

#include "framework/CString.h"

class CVariant {
 public:
  CVariant() { VariantInit(&m_value); }
  CVariant(const CVariant& other);
  CVariant& operator=(const CVariant& other);
  ~CVariant() { VariantClear(&m_value); }

  static CVariant I2(short value) { return Of(VT_I2, value); }
  static CVariant I4(long value) { return Of(VT_I4, value); }
  static CVariant Bool(bool value) { return Of(VT_BOOL, value ? VARIANT_TRUE : VARIANT_FALSE); }
  static CVariant R4(float value) { return Of(VT_R4, value); }
  static CVariant Text(const char* value);  // an ANSI text passed as a BSTR

  VARIANT& Get() { return m_value; }
  const VARIANT& Get() const { return m_value; }

 private:
  // A variant of `type` holding `value`: every kind of value starts at the same place.
  template <class T> static CVariant Of(VARTYPE type, T value) {
    static_assert(sizeof value <= sizeof(LONGLONG), "a variant holds at most eight bytes");
    CVariant made;
    made.m_value.vt = type;
    std::memcpy(&made.m_value.llVal, &value, sizeof value);
    return made;
  }

  VARIANT m_value;
};

// BSTR <-> ANSI text in the system code page.
CString TextFromBstr(BSTR text);
BSTR BstrFromText(const char* text);
