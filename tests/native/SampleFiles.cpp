// The sample files for the native tests: read from the source tree, found by the names the
// Wine test program's resource script gives them, so both runs read the same files.
#include <fstream>
#include <sstream>

#include "tests/mp3/Samples.h"

namespace samples {
namespace {
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return in ? bytes.str() : std::string();
}

// The path after `name RCDATA` in the resource script, or "".
std::string ResourcePath(const std::string& script, const std::string& name) {
  std::istringstream lines(script);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string first, kind, quoted;
    if (words >> first >> kind >> quoted && first == name && kind == "RCDATA" && quoted.size() > 2 && quoted.front() == '"')
      return quoted.substr(1, quoted.find('"', 1) - 1);
  }
  return std::string();
}
}  // namespace

std::string Bytes(const char* name) {
  const std::string root = TIDYBAR_SOURCE_DIR;
  std::string path = ResourcePath(ReadFile(root + "/tests/mp3/mp3_tests.rc"), name);
  return path.empty() ? std::string() : ReadFile(root + "/" + path);
}

}  // namespace samples
