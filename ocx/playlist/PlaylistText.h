// Playlist files as text, and the ordering and filtering of folder listings: plain C++
// with no platform calls.
#pragma once

#include <string>
#include <vector>

namespace playlist {

// The entries of a playlist file's text, one a line (lines end in CR LF, LF or CR). Blank
// lines and lines that begin with "#" (M3U headers and comments) are skipped, blanks around
// a line are dropped, and relative paths are resolved against `folder`, the playlist's own.
// Lines that name no file (see NamesAFile) are skipped too.
std::vector<std::string> ParseEntries(const std::string& text, const std::string& folder);

// Whether a playlist line can name a file: it holds no NUL, and its last part is a name, not
// empty, "." or "..". URLs always can.
bool NamesAFile(const std::string& entry);

// Whether `path` ("C:\music\a.mp3") is already in the form the system's full-path call gives,
// so that the call can be saved.
bool IsPlainFullPath(const std::string& path);

// `entry` as a path from `folder`: absolute paths, UNC paths and URLs stay as they are; a
// path from the root ("\music\a.mp3") takes the folder's drive.
std::string ResolvePath(const std::string& entry, const std::string& folder);

// The text of a playlist file: each path followed by CR LF.
std::string FormatEntries(const std::vector<std::string>& paths);

// Whether a file name has `extension` (".mp3", "mp3" or "*.mp3"), regardless of case; an
// empty extension matches every name.
bool HasExtension(const std::string& fileName, const std::string& extension);

// Orders file names as a file manager shows them: case aside, and runs of digits by their
// value, so "Track 2" comes before "Track 10".
bool NameLess(const std::string& a, const std::string& b);

// The last part of a path (after the last "\" or "/").
std::string FileNameOf(const std::string& path);

}  // namespace playlist
