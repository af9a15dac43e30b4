// File names in the program's 8-bit strings. Names travel in the ANSI code page wherever the
// code page holds every character of them; a name it cannot hold ("日本の歌.mp3" on a Western
// system) travels as UTF-8 instead, so every name still reaches the file it names.
#pragma once

#include <string>

namespace filenames {

// Whether `text` is well-formed UTF-8 with at least one character beyond ASCII.
bool IsUtf8BeyondAscii(const std::string& text);
std::wstring FromCodePage(const std::string& text);
std::wstring FromUtf8(const std::string& text);
std::string ToUtf8(const std::wstring& text);

// The 8-bit form of `name`: the code page where it holds every character, UTF-8 otherwise.
std::string Narrow(const std::wstring& name);
// What an 8-bit form stands for, read back as Narrow writes it (the disk is not asked).
std::wstring Wide(const std::string& name);
// The file an 8-bit name opens: its code-page reading when that names something on disk,
// else its UTF-8 reading when it is UTF-8, else the code-page reading.
std::wstring OnDisk(const std::string& name);

}  // namespace filenames
