// The playlist file the bar plays: one entry per line, read as it stands (no trimming, no
// skipping of empty or "#" lines); CR LF and LF both end a line, and a last line without
// an end still counts.
#pragma once

#include <string>
#include <vector>

namespace playlist {
constexpr char kPath[] = "c:/tyb/playlist.m3u";
// The entries of the file at `path`; none when it is missing, unreadable or empty.
std::vector<std::string> ReadEntries(const std::string& path);
}  // namespace playlist
