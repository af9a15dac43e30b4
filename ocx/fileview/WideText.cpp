#include "ocx/fileview/WideText.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace widetext {

std::wstring FromAnsi(const char* text) {
  int length = text ? MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) : 0;
  if (length <= 1) return std::wstring();
  std::vector<wchar_t> wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return wide.data();
}

// No "best fit": a Greek beta must not come out as a German sharp s and name another file.
CString ToAnsi(const std::wstring& text, bool* lossy) {
  BOOL defaulted = FALSE;
  char buffer[MAX_PATH * 2];  // file names fit at once; longer texts are measured first
  int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, buffer, sizeof buffer, nullptr,
                                   &defaulted);
  if (length > 0) {
    if (lossy) *lossy = defaulted != FALSE;
    return CString(buffer);
  }
  length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &defaulted);
  if (lossy) *lossy = defaulted != FALSE;
  std::vector<char> ansi(size_t(std::max(length, 1)), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, ansi.data(), length, nullptr, nullptr);
  return CString(ansi.data());
}

CString ReachableAnsiPath(const std::wstring& path) {
  bool lossy = false;
  CString ansi = ToAnsi(path, &lossy);
  if (!lossy) return ansi;
  wchar_t shortPath[MAX_PATH];
  DWORD got = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (got == 0 || got >= MAX_PATH) return CString();
  ansi = ToAnsi(shortPath, &lossy);
  return lossy ? CString() : ansi;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring UpperKey(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(&text[0], DWORD(text.size()));
  return text;
}

std::string UpperKey(const CString& text) {
  std::string upper = text.GetString();
  if (!upper.empty()) CharUpperBuffA(&upper[0], DWORD(upper.size()));
  return upper;
}

}  // namespace widetext
