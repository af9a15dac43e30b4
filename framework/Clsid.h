// A CLSID read at compile time from its text in braces, so that a hosted control's class is
// written once, as the text that names its window class, and its binary form follows.
#pragma once

#include <windows.h>

namespace clsid_detail {
constexpr unsigned HexDigit(char c) {
  return c >= '0' && c <= '9'   ? unsigned(c - '0')
         : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                                : unsigned(c - 'A' + 10);
}
constexpr unsigned long Hex(const char* text, int first, int count) {
  unsigned long value = 0;
  for (int i = first; i < first + count; ++i) value = value << 4 | HexDigit(text[i]);
  return value;
}
constexpr unsigned char Byte(const char* text, int first) { return static_cast<unsigned char>(Hex(text, first, 2)); }
}  // namespace clsid_detail

// `text` is "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
constexpr CLSID ClsidFromText(const char (&text)[39]) {
  using namespace clsid_detail;
  return {Hex(text, 1, 8),
          static_cast<unsigned short>(Hex(text, 10, 4)),
          static_cast<unsigned short>(Hex(text, 15, 4)),
          {Byte(text, 20), Byte(text, 22), Byte(text, 25), Byte(text, 27), Byte(text, 29), Byte(text, 31),
           Byte(text, 33), Byte(text, 35)}};
}
