#include "media/PlaylistFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TestKit.h"

namespace {
// How a text-mode C++ stream reads the file line by line: what the bar has always played.
std::vector<std::string> StreamLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}
}  // namespace

TEST(PlaylistFile, ReadsEveryLineAsATextStreamDoes) {
  testkit::ScratchDir dir("playlist-file");
  std::string path = dir / "list.m3u";
  const std::string contents[] = {
      "a.mp3\r\nb.mp3\nc.mp3",         // both line ends; a last line without one
      "\n\n#x\r\n  spaced  \r\n",      // empty and "#" lines stay, nothing is trimmed
      "a\rb.mp3\r\r\nc\r",             // lone CRs, CR CR LF, a CR at the very end
      "one.mp3\r\n\x1A" "after.mp3\r\n",  // Ctrl+Z ends a text file
      std::string("nul\0inside\n", 11),
      std::string(10000, 'x') + "\r\n" + std::string(5000, 'y'),  // lines longer than a read
  };
  for (const std::string& content : contents) {
    testkit::WriteTextFile(path, content);
    EXPECT_EQ(playlist::ReadEntries(path), StreamLines(path)) << content.substr(0, 40);
  }
  testkit::WriteTextFile(path, "a.mp3\r\n\r\nb.mp3");
  EXPECT_EQ(playlist::ReadEntries(path), (std::vector<std::string>{"a.mp3", "", "b.mp3"}));
}

TEST(PlaylistFile, AMissingOrEmptyFileHasNoEntries) {
  testkit::ScratchDir dir("playlist-none");
  EXPECT_TRUE(playlist::ReadEntries(dir / "missing.m3u").empty());
  testkit::WriteTextFile(dir / "empty.m3u", "");
  EXPECT_TRUE(playlist::ReadEntries(dir / "empty.m3u").empty());
}
