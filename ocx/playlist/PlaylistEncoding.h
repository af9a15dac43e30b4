// Playlist text and names between the encodings they come in and the list's 8-bit form of a
// name (the ANSI code page, or UTF-8 for a name the code page cannot hold).
#pragma once

#include <string>

namespace playlist {

// `bytes` as read from a playlist file, in whichever encoding it was written: UTF-16 (with a
// byte-order mark, or without one when its zero bytes give it away), or 8-bit text, where a
// line that is well-formed UTF-8 beyond ASCII is read as UTF-8 and any other in the code page,
// with or without a UTF-8 mark. Line ends are kept as they are.
std::string DecodeListText(const std::string& bytes);

// The name a row shows for an entry: the file's own name, in whatever characters it has.
std::wstring ShownName(const std::string& entry);

}  // namespace playlist
