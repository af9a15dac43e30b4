// The engine when the tree changes under it, when folders are reached by links, and with
// names that ordinary path handling alters.
#include "fileops/FileOpsEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/fileops/EngineTest.h"
#include "tests/fileops/FileTree.h"
#include "tests/support/TestKit.h"

using filetree::Tree;
using testkit::ReadTextFile;

namespace {

class FileOpsChanges : public filetree::EngineTest {};

bool WriteNewFile(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) && written == content.size();
  CloseHandle(file);
  return ok;
}

}  // namespace

// Files that appear while a folder is moved (a download, a sync tool) are either moved or
// left where they were; none is deleted without having been copied.
TEST_F(FileOpsChanges, FilesThatAppearDuringAMoveAreNeverLost) {
  for (int i = 0; i < 200; ++i) Make("src\\S\\f" + std::to_string(i) + ".txt", "old");
  filetree::MakeFolder(At("dst"));
  std::atomic<bool> moving{true};
  std::vector<std::string> created;
  std::thread writer([&] {
    for (int i = 0; moving; ++i) {
      std::string name = (i % 2 ? "S\\n" : "n") + std::to_string(i) + ".txt";
      if (WriteNewFile(At("src\\" + name), name)) created.push_back(name);
    }
  });
  BOOL moved = engine.Move(At("src").c_str(), At("dst").c_str());
  moving = false;
  writer.join();
  ASSERT_FALSE(created.empty());
  size_t stayed = 0;
  for (const std::string& name : created) {
    bool inSource = filetree::Exists(At("src\\" + name)), inDestination = filetree::Exists(At("dst\\src\\" + name));
    EXPECT_TRUE(inSource || inDestination) << name << " was lost";
    if (inDestination) {
      EXPECT_EQ(ReadTextFile(At("dst\\src\\" + name)), name);
    }
    stayed += inSource;
  }
  for (int i = 0; i < 200; ++i) EXPECT_EQ(ReadTextFile(At("dst\\src\\S\\f" + std::to_string(i) + ".txt")), "old");
  if (stayed) {
    EXPECT_FALSE(moved) << "what stayed behind is reported";
    EXPECT_NE(std::string(engine.GetErrorText()).find("stayed"), std::string::npos) << engine.GetErrorText();
  }
}

// What stays behind is named, and an empty folder left from the copy is still removed.
TEST_F(FileOpsChanges, AMoveThatLeavesSomethingBehindSaysWhat) {
  Make("src\\a.txt", "a");
  Make("src\\Empty\\keep\\b.txt", "b");
  filetree::MakeFolder(At("dst"));
  // A file the copy cannot read stays where it is, and so do the folders that hold it.
  HANDLE locked =
      CreateFileA(At("src\\Empty\\keep\\b.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(engine.Move(At("src").c_str(), At("dst").c_str()));
  CloseHandle(locked);
  EXPECT_TRUE(filetree::Exists(At("src\\Empty\\keep\\b.txt")));
  EXPECT_EQ(ReadTextFile(At("dst\\src\\a.txt")), "a");
}

namespace {
std::string Exact(const std::string& path) { return "\\\\?\\" + path; }
}  // namespace

// "a." and "b " are names of their own: ordinary path handling would open "a" and "b".
TEST_F(FileOpsChanges, NamesEndingInADotOrABlankAreCopiedAsTheyAre) {
  Make("src\\a", "plain");
  filetree::MakeFolder(At("dst"));
  ASSERT_TRUE(WriteNewFile(Exact(At("src\\a.")), "dot"));
  ASSERT_TRUE(WriteNewFile(Exact(At("src\\b ")), "blank"));
  ASSERT_TRUE(CreateDirectoryA(Exact(At("src\\F.")).c_str(), nullptr));
  ASSERT_TRUE(WriteNewFile(Exact(At("src\\F.\\c")), "inside"));
  BOOL copied = engine.Copy(At("src").c_str(), At("dst").c_str());
  if (copied) {
    EXPECT_EQ(ReadTextFile(Exact(At("dst\\src\\a."))), "dot");
    EXPECT_EQ(ReadTextFile(Exact(At("dst\\src\\b "))), "blank");
    EXPECT_EQ(ReadTextFile(Exact(At("dst\\src\\F.\\c"))), "inside");
  } else {
    EXPECT_NE(engine.GetErrorCode(), 0u) << "a refusal carries the system's reason";
  }
  // Whatever happened, no file holds another's content under its name.
  EXPECT_EQ(ReadTextFile(At("dst\\src\\a")), "plain");
  EXPECT_FALSE(filetree::Exists(At("dst\\src\\Copy of a")));
  DeleteFileA(Exact(At("src\\F.\\c")).c_str());
  RemoveDirectoryA(Exact(At("src\\F.")).c_str());
  for (const char* name : {"src\\a.", "src\\b ", "dst\\src\\a.", "dst\\src\\b ", "dst\\src\\F.\\c"})
    DeleteFileA(Exact(At(name)).c_str());
  RemoveDirectoryA(Exact(At("dst\\src\\F.")).c_str());
}

// A destination that is a link into the source is the source by another path: the copy
// never enters its own output or a folder it is already inside.
TEST(FileOpsLinks, ALinkedDestinationInsideTheSourceIsToldByIdentity) {
  const std::string root = "C:\\tidybar-links";  // made by the test set-up: D links to S\inner
  if (!filetree::Exists(root + "\\D\\b.txt")) GTEST_SKIP() << "no folder link here";
  CFileOpsEngine engine;
  EXPECT_TRUE(engine.Copy((root + "\\S").c_str(), (root + "\\D").c_str())) << engine.GetErrorText();
  EXPECT_EQ(Tree(root + "\\S\\inner"),
            (std::set<std::string>{"b.txt", "S\\", "S\\a.txt", "S\\inner\\", "S\\inner\\b.txt"}));
  testkit::RemoveTree(root + "\\S\\inner\\S");
  // A move there is refused before anything moves.
  auto before = Tree(root + "\\S");
  EXPECT_FALSE(engine.Move((root + "\\S").c_str(), (root + "\\D").c_str()));
  EXPECT_EQ(Tree(root + "\\S"), before);
}
