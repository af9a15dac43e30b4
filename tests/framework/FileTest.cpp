#include "framework/File.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/Exceptions.h"
#include "tests/support/TestKit.h"

namespace {
std::vector<std::string> ReadLines(const std::string& path) {
  CStdioFile file(path.c_str(), CFile::modeRead | CFile::typeText);
  std::vector<std::string> lines;
  CString line;
  while (file.ReadString(line)) lines.push_back(line.GetString());
  return lines;
}
}  // namespace

TEST(CStdioFile, ReadsLinesEndingInLfOrCrLfWithoutTheEnds) {
  testkit::ScratchDir dir("stdio");
  std::string path = dir / "lines.txt";
  testkit::WriteTextFile(path, "first\r\nsecond\n\r\nlast");
  EXPECT_EQ(ReadLines(path), (std::vector<std::string>{"first", "second", "", "last"}));
  testkit::WriteTextFile(path, "");
  EXPECT_TRUE(ReadLines(path).empty());
}

TEST(CStdioFile, LinesLongerThanOneReadAndCrLfSplitAcrossReads) {
  testkit::ScratchDir dir("stdio-long");
  std::string path = dir / "long.txt";
  std::string first(4095, 'a');  // its CR is the last byte of the first read, LF the next
  std::string second(10000, 'b');
  testkit::WriteTextFile(path, first + "\r\n" + second + "\r\n");
  auto lines = ReadLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], second);
}

TEST(CStdioFile, WritesCrLfInTextModeAndOpeningAMissingFileThrows) {
  testkit::ScratchDir dir("stdio-write");
  std::string path = dir / "out.txt";
  {
    CStdioFile out(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    out.WriteString("a\nb\n");
  }
  EXPECT_EQ(testkit::ReadTextFile(path), "a\r\nb\r\n");
  try {
    CStdioFile missing((dir / "missing.txt").c_str(), CFile::modeRead);
    FAIL() << "opening a missing file must throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_osError, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(e.GetErrorMessage().Find("missing.txt"), -1);
  }
  CStdioFile quiet;
  DWORD error = 0;
  EXPECT_FALSE(quiet.Open((dir / "missing.txt").c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error, DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(CMemFile, ReadsBackWhatWasWrittenAndRefusesNegativeSeeks) {
  CMemFile mem;
  mem.Write("hello", 5);
  mem.Seek(1, CFile::begin);
  char buffer[8] = {0};
  EXPECT_EQ(mem.Read(buffer, 8), 4u);
  EXPECT_STREQ(buffer, "ello");
  EXPECT_EQ(mem.Read(buffer, 8), 0u);
  EXPECT_THROW(mem.Seek(-10, CFile::current), CFileException);
}
