#include "framework/FileNames.h"

#include <windows.h>

#include <algorithm>

namespace filenames {

namespace {
bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::wstring Decode(UINT codePage, DWORD flags, const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(codePage, flags, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(std::max(length, 0)), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, flags, text.data(), int(text.size()), &wide[0], length);
  return wide;
}

std::string Encode(UINT codePage, const std::wstring& text) {
  if (text.empty()) return std::string();
  int length = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(size_t(std::max(length, 0)), '\0');
  if (length > 0) WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}

bool Exists(const std::wstring& path) {
  return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

bool IsUtf8BeyondAscii(const std::string& text) {
  return !IsAscii(text) &&
         MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0) > 0;
}

std::wstring FromCodePage(const std::string& text) { return Decode(CP_ACP, 0, text); }

std::wstring FromUtf8(const std::string& text) { return Decode(CP_UTF8, 0, text); }

std::string ToUtf8(const std::wstring& text) { return Encode(CP_UTF8, text); }

// The code page holds a name when the name comes back whole from it: no default character
// and no best-fit look-alike ("e" for "ē") stands in for what it lacks.
std::string Narrow(const std::wstring& name) {
  if (std::all_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x80; }))
    return std::string(name.begin(), name.end());
  std::string ansi = Encode(CP_ACP, name);
  return FromCodePage(ansi) == name ? ansi : ToUtf8(name);
}

std::wstring Wide(const std::string& name) {
  if (IsUtf8BeyondAscii(name)) {
    std::wstring unicode = FromUtf8(name);
    if (Narrow(unicode) == name) return unicode;
  }
  return FromCodePage(name);
}

std::wstring OnDisk(const std::string& name) {
  std::wstring ansi = FromCodePage(name);
  if (Exists(ansi) || !IsUtf8BeyondAscii(name)) return ansi;
  return FromUtf8(name);
}

}  // namespace filenames
