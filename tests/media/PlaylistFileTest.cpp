#include "media/PlaylistFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TestKit.h"

// Read as a text-mode C++ stream read it: CR LF, lone CRs, Ctrl+Z, long lines, nothing at all.
TEST(PlaylistFile, ReadsEveryLineAsATextStreamDoes) {
  testkit::ScratchDir dir("playlist-file");
  std::string path = dir / "list.m3u";
  EXPECT_TRUE(playlist::ReadEntries(path).empty());  // missing
  for (std::string content : {"a\r\n\nb\nc" + std::string(9000, 'x'), std::string("a\rb\r\r\nc\r"),
                              std::string("one\r\n\x1A" "after\r\n"), std::string()}) {
    testkit::WriteTextFile(path, content);
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line); lines.push_back(line))
      if (!line.empty() && line.back() == '\r') line.pop_back();
    EXPECT_EQ(playlist::ReadEntries(path), lines) << content;
  }
}
