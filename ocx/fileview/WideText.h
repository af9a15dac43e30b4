// Conversions between the program's 8-bit text (the ANSI code page) and the wide text in
// which the view keeps file names, so that no name is cut down to what the code page holds.
#pragma once

#include <string>

#include "framework/CString.h"

namespace widetext {

std::wstring FromAnsi(const char* text);
// The text in the code page; *lossy (when given) tells whether a character had no match.
CString ToAnsi(const std::wstring& text, bool* lossy = nullptr);
// The path as the 8-bit file functions reach it: itself when the code page holds it, else
// its short form; empty when it has none.
CString ReachableAnsiPath(const std::wstring& path);
// Case-insensitive comparison, as the file system compares names.
bool SameText(const std::wstring& a, const std::wstring& b);
// The text in upper case: a key under which names match as the file system matches them.
std::wstring UpperKey(std::wstring text);
std::string UpperKey(const CString& text);

}  // namespace widetext
