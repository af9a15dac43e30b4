// The start-up step that installs or removes the Startup shortcut, on the real all-users
// Startup folder of the test's Wine prefix.
#include "fileops/StartupShortcut.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/fileops/FileTree.h"
#include "tests/support/TestKit.h"

using testkit::ReadTextFile;
using testkit::WriteTextFile;

namespace {

class StartupShortcut : public ::testing::Test {
 protected:
  StartupShortcut() : installed(std::string(CommonStartupFolder()) + "\\Shortcuttotyb.exe.lnk") {
    filetree::MakeFolder("C:\\tyb");
    WriteTextFile(kStartupShortcutSource, "link v2");
    Clear();
  }
  ~StartupShortcut() override {
    Clear();
    DeleteFileA(kStartupShortcutSource);
    RemoveDirectoryA("C:\\tyb");  // goes only when nothing else is in it
  }
  void Clear() const {
    SetFileAttributesA(installed.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(installed.c_str());
  }
  std::set<std::string> StartupFolder() const { return filetree::Tree(std::string(CommonStartupFolder())); }

  std::string installed;
};

}  // namespace

// The old fixed path exists only on Windows XP and older; the shell knows the real one.
TEST_F(StartupShortcut, TheStartupFolderIsTheOneTheShellReports) {
  std::string folder(CommonStartupFolder());
  EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << folder;
  EXPECT_EQ(GetFileAttributesA("c:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup"),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(StartupShortcut, OneInstallsAndReplacesAnInstalledCopy) {
  EXPECT_TRUE(ApplyStartupShortcut(1));
  EXPECT_EQ(ReadTextFile(installed), "link v2");
  WriteTextFile(installed, "link v1");
  auto before = StartupFolder();
  EXPECT_TRUE(ApplyStartupShortcut(1));
  EXPECT_EQ(ReadTextFile(installed), "link v2");
  EXPECT_EQ(StartupFolder(), before);  // no "Copy of" beside it
}

TEST_F(StartupShortcut, ZeroRemovesAndTwoDoesNeither) {
  ASSERT_TRUE(ApplyStartupShortcut(1));
  EXPECT_TRUE(ApplyStartupShortcut(2));
  EXPECT_TRUE(filetree::Exists(installed));
  EXPECT_TRUE(ApplyStartupShortcut(0));
  EXPECT_FALSE(filetree::Exists(installed));
  EXPECT_FALSE(ApplyStartupShortcut(0));  // already gone: reported, and nothing else happens
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND)) << "the reason stays for the caller's trace";
  EXPECT_TRUE(ApplyStartupShortcut(2));
  EXPECT_FALSE(filetree::Exists(installed));
  EXPECT_TRUE(filetree::Exists(kStartupShortcutSource));
}

TEST_F(StartupShortcut, AReadOnlyInstalledShortcutIsRemovedOnlyAfterAsking) {
  ASSERT_TRUE(ApplyStartupShortcut(1));
  filetree::SetReadOnly(installed);
  testkit::MessageBoxAnswerer answerer(IDNO);
  EXPECT_TRUE(ApplyStartupShortcut(0));
  EXPECT_TRUE(filetree::Exists(installed));
  answerer.SetButton(IDYES);
  EXPECT_TRUE(ApplyStartupShortcut(0));
  EXPECT_FALSE(filetree::Exists(installed));
  ASSERT_EQ(answerer.Boxes().size(), 2u);
  EXPECT_EQ(answerer.Boxes()[1].text, "Shortcuttotyb.exe.lnk is read olny. Do you want delete it?");
}

// A folder passed with its own trailing separator works the same.
TEST_F(StartupShortcut, ExplicitPathsWithATrailingSeparator) {
  testkit::ScratchDir dir("startup-explicit");
  std::string folder = dir.path + "\\";
  EXPECT_TRUE(ApplyStartupShortcut(1, kStartupShortcutSource, folder.c_str()));
  EXPECT_EQ(ReadTextFile(dir / "Shortcuttotyb.exe.lnk"), "link v2");
  EXPECT_TRUE(ApplyStartupShortcut(0, kStartupShortcutSource, folder.c_str()));
  EXPECT_FALSE(filetree::Exists(dir / "Shortcuttotyb.exe.lnk"));
}

// Only the shortcut, a file, is ever removed: a folder under its name stays with all in it.
TEST_F(StartupShortcut, ZeroLeavesAFolderUnderTheShortcutsName) {
  filetree::MakeFolder(installed);
  WriteTextFile(installed + "\\letter.txt", "kept");
  ApplyStartupShortcut(0);
  EXPECT_EQ(ReadTextFile(installed + "\\letter.txt"), "kept");
  DeleteFileA((installed + "\\letter.txt").c_str());
  RemoveDirectoryA(installed.c_str());
}
