#include "fileops/CopyNames.h"

#include <gtest/gtest.h>

#include <set>

using namespace copynames;

TEST(CopyNames, EachRoundTakesTheNextNumberAndKeepsFolderAndExtension) {
  std::string name = "C:\\dir\\a.txt";
  const char* expected[] = {"C:\\dir\\Copy of a.txt", "C:\\dir\\Copy (1) of a.txt", "C:\\dir\\Copy (2) of a.txt",
                            "C:\\dir\\Copy (3) of a.txt"};
  for (const char* next : expected) {
    name = NextCopyName(name);
    EXPECT_EQ(name, next);
  }
  EXPECT_EQ(NextCopyName("C:\\dir\\Copy (9) of a.txt"), "C:\\dir\\Copy (10) of a.txt");
  EXPECT_EQ(NextCopyName("README"), "Copy of README");
  EXPECT_EQ(NextCopyName("d/archive.tar.gz"), "d/Copy of archive.tar.gz");
}

// Only the prefix these rounds make counts: other names with "Copy " or brackets in them
// keep every character.
TEST(CopyNames, OtherNamesAreNotCutShort) {
  EXPECT_EQ(NextCopyName("C:\\d\\My Copy test.txt"), "C:\\d\\Copy of My Copy test.txt");
  EXPECT_EQ(NextCopyName("Photo Copy (2).jpg"), "Copy of Photo Copy (2).jpg");
  EXPECT_EQ(NextCopyName("Copy (5).txt"), "Copy of Copy (5).txt");
  EXPECT_EQ(NextCopyName("Copy (x) of a.txt"), "Copy of Copy (x) of a.txt");
  EXPECT_EQ(NextCopyName("Copy (99999999999) of a"), "Copy of Copy (99999999999) of a");
  EXPECT_EQ(NextCopyName("Copy (999999999) of a"), "Copy (1000000000) of a");
}

TEST(CopyNames, ChainsNeverRepeatANameWhateverTheStart) {
  const char* starts[] = {"",
                          ".",
                          "..",
                          "x.",
                          ".profile",
                          "Copy ",
                          "Copy (",
                          "Copy ()",
                          "Copy (1) of",
                          "Copy of ",
                          "(((",
                          "a)b(c",
                          "\xE9t\xE9.txt",
                          "C:",
                          "C:\\",
                          "\\\\server\\share\\f"};
  for (const char* start : starts) {
    std::set<std::string> seen{start};
    std::string name = start;
    for (int round = 0; round < 30; ++round) {
      name = NextCopyName(name);
      ASSERT_TRUE(seen.insert(name).second) << "start '" << start << "' repeats " << name;
    }
  }
}

TEST(CopyNames, NestingLimitOnlyWhenTheDestinationIsTheSourceOrBelowIt) {
  EXPECT_EQ(NestingLimit("C:\\A", "C:\\A\\B"), 1);
  EXPECT_EQ(NestingLimit("C:\\A", "c:\\a\\B"), 1);  // the file system ignores case
  EXPECT_EQ(NestingLimit("C:\\A\\", "C:\\A\\B\\C\\"), 2);
  EXPECT_EQ(NestingLimit("C:\\A", "C:/A"), 0);
  EXPECT_EQ(NestingLimit("C:\\AB", "C:\\ABC\\X"), -1);  // a longer name is not inside
  EXPECT_EQ(NestingLimit("C:\\A\\B", "C:\\A"), -1);
  EXPECT_EQ(NestingLimit("C:\\", "C:\\X"), 1);
}

TEST(CopyNames, ParentFolderIgnoresCaseAndTrailingSeparators) {
  EXPECT_TRUE(IsParentFolder("C:\\A\\X", "C:\\A"));
  EXPECT_TRUE(IsParentFolder("C:\\A\\X\\", "c:\\a\\"));
  EXPECT_TRUE(IsParentFolder("C:\\A", "C:\\"));
  EXPECT_FALSE(IsParentFolder("C:\\A\\X", "C:\\A\\X"));
  EXPECT_FALSE(IsParentFolder("C:\\A\\X", "C:\\AB"));
  EXPECT_FALSE(IsParentFolder("X", ""));
}
