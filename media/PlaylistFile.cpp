#include "media/PlaylistFile.h"

#include <fstream>

namespace playlist {
std::vector<std::string> ReadEntries(const std::string& path) {
  std::vector<std::string> entries;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    entries.push_back(line);
  }
  return entries;
}
}  // namespace playlist
