#include "media/PlaylistFile.h"

#include <cstdio>
#include <memory>

namespace playlist {
// C's text-mode stream, as the file has always been read (CR LF arrives as LF, and a
// Ctrl+Z ends it); C++ streams would bring the whole locale library into the program.
std::vector<std::string> ReadEntries(const std::string& path) {
  std::vector<std::string> entries;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
  if (!file) return entries;
  std::string text;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) text.append(chunk, n);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    entries.push_back(std::move(line));
    start = end + 1;
  }
  return entries;
}
}  // namespace playlist
