#include "framework/Variant.h"

#include <vector>

CVariant::CVariant(const CVariant& other) {
  VariantInit(&m_value);
  VariantCopy(&m_value, const_cast<VARIANT*>(&other.m_value));
}

CVariant& CVariant::operator=(const CVariant& other) {
  if (this != &other) VariantCopy(&m_value, const_cast<VARIANT*>(&other.m_value));
  return *this;
}

CVariant CVariant::Text(const char* value) { return Of(VT_BSTR, BstrFromText(value ? value : "")); }

BSTR BstrFromText(const char* text) {
  int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> buffer(size_t(wide > 0 ? wide : 1));
  if (wide > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, buffer.data(), wide);
  return SysAllocString(buffer.data());
}

CString TextFromBstr(BSTR text) {
  if (!text) return CString();
  int length = WideCharToMultiByte(CP_ACP, 0, text, int(SysStringLen(text)), nullptr, 0, nullptr, nullptr);
  CString result;
  if (length > 0) {
    WideCharToMultiByte(CP_ACP, 0, text, int(SysStringLen(text)), result.GetBuffer(length), length, nullptr, nullptr);
    result.ReleaseBuffer(length);
  }
  return result;
}
