// The file view's icons: a file's type icon is shown at once and is final unless the file
// carries an icon of its own, which replaces it later, looked up in short slices.
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "IconFiles.h"
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

namespace {
// A clock on which every reading is 10 ms after the one before.
DWORD g_fakeNow = 0;
DWORD WINAPI TenMsPerReading() { return g_fakeNow += 10; }
}  // namespace

// A slice stops once it has used its budget, or when the slowest look-up so far would carry
// it past twice the budget; every slice still makes progress.
TEST(IconLoaderTest, SlicesOfManyProgramsStayShort) {
  testkit::ScratchDir dir("icon-slices");
  std::vector<FileItem> items;
  for (int i = 0; i < 40; ++i) {
    std::string name = "p" + std::to_string(i) + ".exe";
    testkit::WriteTextFile(dir / name, "x");
    items.push_back(FileItem{name.c_str(), (dir / name).c_str(), false});
  }
  CIconLoader loader;
  loader.SetClock(&TenMsPerReading);
  loader.Reset(items);
  for (int i = 0; i < int(items.size()); ++i) loader.IconFor(i);  // all shown: all redrawn
  std::vector<int> changed;
  for (DWORD budget : {50u, 5u}) {
    size_t most = budget == 50 ? 3 : 1;  // each look-up reads as 10 ms, the slice's start 10 more
    for (int slice = 0; slice < 5; ++slice) {
      size_t before = loader.CountPending();
      loader.LoadSome(budget, &changed);
      EXPECT_GE(before - loader.CountPending(), 1u) << budget;
      EXPECT_LE(before - loader.CountPending(), most) << budget;
    }
  }
  while (loader.IsPending()) loader.LoadSome(50, &changed);
  EXPECT_EQ(changed.size(), items.size());
}

namespace {
// The shell's icon for a path, looked up the plain way.
int ShellIcon(const std::string& path) {
  SHFILEINFOA info{};
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
  return info.iIcon;
}
}  // namespace

// Looked up through their folder, items get the icons the shell gives for their whole paths:
// a shortcut the icon it names, a program and a folder theirs, a document its type's.
TEST(IconLoaderTest, IconsLookedUpThroughTheFolderAreTheShellsOwn) {
  testkit::ScratchDir dir("icon-source");
  WriteSolidIcon(dir / "red.ico", RGB(255, 0, 0));
  testkit::WriteTextFile(dir / "a.txt", "a");
  testkit::WriteTextFile(dir / "tool.exe", "x");
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  ASSERT_TRUE(MakeShortcut(dir / "red.lnk", dir / "a.txt", dir / "red.ico"));
  ASSERT_TRUE(MakeShortcut(dir / "plain.lnk", dir / "a.txt"));
  CIconSource source;
  for (const char* name : {"red.lnk", "plain.lnk", "tool.exe", "sub"})
    EXPECT_EQ(source.IconOf((dir / name).c_str(), name, std::string(name) == "sub"), ShellIcon(dir / name)) << name;
  int red = source.IconOf((dir / "red.lnk").c_str(), "red.lnk", false);
  EXPECT_EQ(MiddleOfImage(source.ImageList(), red), RGB(255, 0, 0));
  SHFILEINFOA text{};
  SHGetFileInfoA("x.txt", FILE_ATTRIBUTE_NORMAL, &text, sizeof text,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
  EXPECT_EQ(source.IconOf((dir / "a.txt").c_str(), "a.txt", false), text.iIcon);
  // A shortcut that names no icon shows its target's, as on Windows (Wine's shell gives it
  // the plain document icon).
  char notepad[MAX_PATH];
  GetSystemDirectoryA(notepad, MAX_PATH);
  lstrcatA(notepad, "\\notepad.exe");
  ASSERT_TRUE(MakeShortcut(dir / "editor.lnk", notepad));
  EXPECT_EQ(source.IconOf((dir / "editor.lnk").c_str(), "editor.lnk", false), ShellIcon(notepad));
  // A name that is not the end of its path is looked up by the path.
  EXPECT_EQ(source.IconOf((dir / "red.lnk").c_str(), "other.lnk", false), red);
}

// Shortcuts that name no icon show their own target's, however many share a source; one
// whose target is gone, or is itself a shortcut, gets the shell's answer for the shortcut.
TEST(IconLoaderTest, ShortcutsShowTheirOwnTargetsIcons) {
  testkit::ScratchDir dir("icon-targets");
  char system[MAX_PATH], windows[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string notepad = std::string(system) + "\\notepad.exe", regedit = std::string(windows) + "\\regedit.exe";
  ASSERT_NE(ShellIcon(notepad), ShellIcon(regedit));
  testkit::WriteTextFile(dir / "gone.exe", "x");
  ASSERT_TRUE(MakeShortcut(dir / "editor1.lnk", notepad));
  ASSERT_TRUE(MakeShortcut(dir / "registry.lnk", regedit));
  ASSERT_TRUE(MakeShortcut(dir / "editor2.lnk", notepad));
  ASSERT_TRUE(MakeShortcut(dir / "gone.lnk", dir / "gone.exe"));
  ASSERT_TRUE(MakeShortcut(dir / "twice.lnk", dir / "editor1.lnk"));
  DeleteFileA((dir / "gone.exe").c_str());
  CIconSource source;
  auto iconOf = [&](const char* name) { return source.IconOf((dir / name).c_str(), name, false); };
  EXPECT_EQ(iconOf("editor1.lnk"), ShellIcon(notepad));
  EXPECT_EQ(iconOf("registry.lnk"), ShellIcon(regedit));
  EXPECT_EQ(iconOf("editor2.lnk"), ShellIcon(notepad));
  for (const char* name : {"gone.lnk", "twice.lnk"}) EXPECT_EQ(iconOf(name), ShellIcon(dir / name)) << name;
}

// The items the view asked for come before the rest and are the only ones to redraw, and
// every item ends with the icon a look-up of its own gives.
TEST(IconLoaderTest, TheItemsAskedForComeFirst) {
  testkit::ScratchDir dir("icon-order");
  WriteSolidIcon(dir / "blue.ico", RGB(0, 0, 255));
  std::vector<FileItem> items;
  for (int i = 0; i < 120; ++i) {
    std::string name = "s" + std::to_string(1000 + i) + ".lnk";
    ASSERT_TRUE(MakeShortcut(dir / name, dir / "blue.ico", dir / "blue.ico"));
    items.push_back(Item(dir, name.c_str()));
  }
  CIconLoader loader;
  loader.Reset(items);
  loader.IconFor(100);
  loader.IconFor(7);
  EXPECT_TRUE(loader.IsWantedPending());
  std::vector<int> changed;
  while (loader.IsWantedPending()) loader.LoadSome(1, &changed);
  ASSERT_EQ(changed, (std::vector<int>{100, 7}));
  EXPECT_GT(loader.CountPending(), items.size() - 10) << "the rest still wait";
  // Asked for while the sweep goes through the rest, an item comes next (give or take what a
  // slice sweeps after it); the sweep alone reaches it after 100 others.
  loader.LoadSome(1, &changed);
  size_t pendingWhenAsked = loader.CountPending();
  loader.IconFor(110);
  while (loader.IsWantedPending()) loader.LoadSome(1, &changed);
  ASSERT_EQ(changed.size(), 3u);
  EXPECT_EQ(changed[2], 110);
  EXPECT_LT(pendingWhenAsked - loader.CountPending(), 10u);
  while (loader.IsPending()) loader.LoadSome(50, &changed);
  EXPECT_EQ(changed.size(), 3u) << "items never shown are not redrawn";
  int blue = ShellIcon(dir / "s1000.lnk");
  EXPECT_EQ(MiddleOfImage(loader.ImageList(), blue), RGB(0, 0, 255));
  for (int i = 0; i < int(items.size()); ++i) EXPECT_EQ(loader.IconFor(i), blue) << i;
}
