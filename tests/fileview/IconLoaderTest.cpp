// The file view's icons: a file's type icon is shown at once and is final unless the file
// carries an icon of its own, which replaces it later.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "ocx/fileview/IconLoader.h"
#include "tests/support/TestKit.h"

namespace {
FileItem Item(const testkit::ScratchDir& dir, const char* name, bool folder = false) {
  return FileItem{name, (dir / name).c_str(), folder};
}

bool Contains(const std::vector<int>& indices, int index) {
  return std::find(indices.begin(), indices.end(), index) != indices.end();
}
}  // namespace

TEST(IconLoaderTest, TypeIconsAreFinalAtOnceOwnIconsFollow) {
  testkit::ScratchDir dir("icon-loader");
  for (const char* name : {"a.txt", "b.txt", "c.mp3", "tool.exe"}) testkit::WriteTextFile(dir / name, "x");
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  CIconLoader loader;
  loader.Reset(
      {Item(dir, "a.txt"), Item(dir, "b.txt"), Item(dir, "c.mp3"), Item(dir, "tool.exe"), Item(dir, "sub", true)});
  ASSERT_NE(loader.ImageList(), nullptr);

  int text = loader.IconFor(0);
  EXPECT_GE(text, 0);
  EXPECT_EQ(loader.IconFor(1), text);  // one type, one icon
  EXPECT_GE(loader.IconFor(2), 0);
  EXPECT_GE(loader.IconFor(3), 0);  // the program's type icon until its own is in
  EXPECT_GE(loader.IconFor(4), 0);

  std::vector<int> changed;
  for (int round = 0; round < 100 && loader.IsPending(); ++round) loader.LoadSome(50, &changed);
  EXPECT_FALSE(loader.IsPending());
  // Files shown with their type icon are never fetched again nor redrawn.
  EXPECT_FALSE(Contains(changed, 0));
  EXPECT_FALSE(Contains(changed, 1));
  EXPECT_FALSE(Contains(changed, 2));
  EXPECT_TRUE(Contains(changed, 3));
  EXPECT_TRUE(Contains(changed, 4));
  EXPECT_EQ(loader.IconFor(0), text);
}

TEST(IconLoaderTest, OutOfRangeAndEmptyListingsAreHarmless) {
  CIconLoader loader;
  loader.Reset({});
  EXPECT_GE(loader.IconFor(-1), 0);
  EXPECT_GE(loader.IconFor(5), 0);
  EXPECT_FALSE(loader.IsPending());
  loader.LoadSome(10, nullptr);
}

// However slow one look-up is, a slice ends within about twice its budget once the
// slowest look-up is known, and every slice still makes progress.
TEST(IconLoaderTest, SlicesOfManyProgramsStayShort) {
  testkit::ScratchDir dir("icon-slices");
  std::vector<FileItem> items;
  for (int i = 0; i < 200; ++i) {
    std::string name = "p" + std::to_string(i) + ".exe";
    testkit::WriteTextFile(dir / name, "x");
    items.push_back(FileItem{name.c_str(), (dir / name).c_str(), false});
  }
  CIconLoader loader;
  loader.Reset(items);
  std::vector<int> changed;
  loader.LoadSome(5, &changed);  // learns how slow a look-up is
  DWORD longest = 0;
  while (loader.IsPending()) {
    size_t before = changed.size();
    DWORD start = GetTickCount();
    loader.LoadSome(5, &changed);
    longest = std::max(longest, GetTickCount() - start);
    ASSERT_GT(changed.size(), before);
  }
  EXPECT_EQ(changed.size(), items.size());
  EXPECT_LE(longest, 50u);
}
