// Replacing a file only with a complete new version.
#include "framework/AtomicFile.h"

#include <gtest/gtest.h>

#include "tests/support/TestKit.h"

namespace {
// Fails the write after `goodChunks` pieces, as a full disk or a pulled stick would.
class FailingFile : public CAtomicFile {
 public:
  explicit FailingFile(int goodChunks) : m_left(goodChunks) {}

 protected:
  bool WriteChunk(HANDLE file, const char* data, DWORD size) override {
    return m_left-- > 0 && CAtomicFile::WriteChunk(file, data, size);
  }

 private:
  int m_left;
};

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
  int count = 0;
  if (find) do
      count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(find.Get(), &found));
  return count;
}
}  // namespace

TEST(AtomicFile, ReplacesTheFileWithTheCompleteNewVersion) {
  testkit::ScratchDir dir("atomic-replace");
  std::string path = dir / "list.m3u";
  testkit::WriteTextFile(path, "old\r\n");
  CAtomicFile file;
  ASSERT_TRUE(file.Begin(path.c_str()));
  std::string big(10000, 'x');
  ASSERT_TRUE(file.Write(big));
  ASSERT_TRUE(file.Write("end"));
  EXPECT_EQ(testkit::ReadTextFile(path), "old\r\n") << "untouched until the commit";
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(testkit::ReadTextFile(path), big + "end");
  EXPECT_EQ(FilesIn(dir.path), 1) << "no temporary file is left";
  CAtomicFile fresh;  // a file that did not exist
  ASSERT_TRUE(fresh.Begin((dir / "new.m3u").c_str()));
  ASSERT_TRUE(fresh.Commit());
  EXPECT_EQ(testkit::ReadTextFile(dir / "new.m3u"), "");
}

TEST(AtomicFile, AWriteThatFailsHalfWayLeavesTheOldFile) {
  testkit::ScratchDir dir("atomic-fail");
  std::string path = dir / "list.m3u";
  testkit::WriteTextFile(path, "old\r\n");
  FailingFile file(1);
  ASSERT_TRUE(file.Begin(path.c_str()));
  EXPECT_FALSE(file.Write(std::string(10000, 'x')));
  EXPECT_FALSE(file.Write("more")) << "stays failed";
  EXPECT_FALSE(file.Commit());
  EXPECT_EQ(testkit::ReadTextFile(path), "old\r\n");
  EXPECT_EQ(FilesIn(dir.path), 1);
  {
    CAtomicFile abandoned;  // never committed
    ASSERT_TRUE(abandoned.Begin(path.c_str()));
    ASSERT_TRUE(abandoned.Write("half"));
  }
  EXPECT_EQ(testkit::ReadTextFile(path), "old\r\n");
  EXPECT_EQ(FilesIn(dir.path), 1);
}
