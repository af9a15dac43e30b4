// The engine against the real file system: collision names, overwrite mode, folder trees,
// the read-only question through a real message box, moving and renaming.
#include "fileops/FileOpsEngine.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/Exceptions.h"
#include "tests/fileops/EngineTest.h"
#include "tests/fileops/FileTree.h"
#include "tests/support/TestKit.h"

using filetree::Tree;
using testkit::ReadTextFile;
using testkit::WriteTextFile;

namespace {

class FileOpsEngine : public filetree::EngineTest {};

}  // namespace

TEST_F(FileOpsEngine, RepeatedCopiesIntoAFolderTakeNumberedCopyNames) {
  Make("src\\a.txt", "new");
  Make("dst\\a.txt", "old");
  for (int round = 0; round < 4; ++round) ASSERT_TRUE(engine.Copy(At("src\\a.txt").c_str(), At("dst").c_str()));
  EXPECT_EQ(Tree(At("dst")), (std::set<std::string>{"a.txt", "Copy of a.txt", "Copy (1) of a.txt", "Copy (2) of a.txt",
                                                    "Copy (3) of a.txt"}));
  EXPECT_EQ(ReadTextFile(At("dst\\a.txt")), "old");
  EXPECT_EQ(ReadTextFile(At("dst\\Copy (3) of a.txt")), "new");
  EXPECT_STREQ(engine.GetErrorText(), "No error");
}

TEST_F(FileOpsEngine, OverwriteModeReplacesTheExistingFile) {
  Make("src\\a.txt", "new");
  Make("dst\\a.txt", "old");
  Make("dst\\b.txt", "old");
  engine.SetOverwrite(true);
  EXPECT_TRUE(engine.Copy(At("src\\a.txt").c_str(), At("dst\\").c_str()));
  EXPECT_TRUE(engine.Copy(At("src\\a.txt").c_str(), At("dst\\b.txt").c_str()));  // file onto file
  EXPECT_EQ(Tree(At("dst")), (std::set<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(ReadTextFile(At("dst\\a.txt")), "new");
  EXPECT_EQ(ReadTextFile(At("dst\\b.txt")), "new");
}

TEST_F(FileOpsEngine, FileOntoFileWithoutOverwriteKeepsTheTargetAndAddsACopy) {
  Make("a.txt", "new");
  Make("b.txt", "old");
  EXPECT_TRUE(engine.Copy(At("a.txt").c_str(), At("b.txt").c_str()));
  EXPECT_EQ(ReadTextFile(At("b.txt")), "old");
  EXPECT_EQ(ReadTextFile(At("Copy of b.txt")), "new");
}

TEST_F(FileOpsEngine, AFolderTreeIsCopiedUnderItsOwnName) {
  Make("src\\T\\top.txt", "1");
  Make("src\\T\\S\\deep.txt", "2");
  filetree::MakeFolder(At("src\\T\\Empty"));
  Make("dst\\keep.txt");
  EXPECT_TRUE(engine.Copy(At("src\\T").c_str(), At("dst").c_str()));
  EXPECT_EQ(Tree(At("dst")),
            (std::set<std::string>{"keep.txt", "T\\", "T\\top.txt", "T\\S\\", "T\\S\\deep.txt", "T\\Empty\\"}));
  EXPECT_EQ(ReadTextFile(At("dst\\T\\S\\deep.txt")), "2");
}

TEST_F(FileOpsEngine, CopyOntoItsOwnParentDoesNothingHoweverItIsSpelled) {
  Make("X\\f.txt");
  auto before = Tree(dir.path);
  std::string upper = dir.path;
  for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  EXPECT_TRUE(engine.Copy(At("X").c_str(), dir.path.c_str()));
  EXPECT_TRUE(engine.Copy(At("X\\").c_str(), (upper + "\\").c_str()));
  EXPECT_TRUE(engine.Move(At("X").c_str(), (dir.path + "\\").c_str()));
  EXPECT_EQ(Tree(dir.path), before);
}

// The copy may go one level deep: it copies A's files into A\B\A, enters B (the only
// sub-folder) once, and skips the A it has just made there.
TEST_F(FileOpsEngine, FolderIntoItsOwnSubFolderStopsAfterOneLevel) {
  const std::set<std::string> expected{"a1.txt",       "a2.txt",       "B\\",       "B\\b.txt",      "B\\A\\",
                                       "B\\A\\a1.txt", "B\\A\\a2.txt", "B\\A\\B\\", "B\\A\\B\\b.txt"};
  for (const char* destination : {"A\\B", "a\\b\\"}) {  // the file system ignores case
    SCOPED_TRACE(destination);
    filetree::Remove(At("A"));
    Make("A\\a1.txt");
    Make("A\\a2.txt");
    Make("A\\B\\b.txt");
    EXPECT_TRUE(engine.Copy(At("A").c_str(), At(destination).c_str()));
    EXPECT_EQ(Tree(At("A")), expected);
  }
}

// A folder whose name starts like the source's is not inside it: nothing is left out.
TEST_F(FileOpsEngine, ALongerFolderNameIsNotTakenForASubFolder) {
  Make("AB\\f.txt");
  Make("AB\\S\\T\\s.txt");
  filetree::MakeFolder(At("ABC\\X"));
  EXPECT_TRUE(engine.Copy(At("AB").c_str(), At("ABC\\X").c_str()));
  EXPECT_EQ(Tree(At("ABC\\X")),
            (std::set<std::string>{"AB\\", "AB\\f.txt", "AB\\S\\", "AB\\S\\T\\", "AB\\S\\T\\s.txt"}));
}

TEST_F(FileOpsEngine, EngineTextsCarryCodeZero) {
  Make("F\\f.txt");
  Make("file.txt");
  EXPECT_FALSE(engine.Copy(At("F").c_str(), At("file.txt").c_str()));
  EXPECT_STREQ(engine.GetErrorText(), "Wrong operation");
  EXPECT_EQ(engine.GetErrorCode(), 0u);

  std::string missing = At("missing.txt");
  EXPECT_FALSE(engine.Copy(missing.c_str(), At("F").c_str()));
  EXPECT_EQ(std::string(engine.GetErrorText()), missing + " not found");
  EXPECT_EQ(engine.GetErrorCode(), 0u);

  std::string nowhere = At("nowhere");
  EXPECT_FALSE(engine.Move(At("file.txt").c_str(), nowhere.c_str()));
  EXPECT_EQ(std::string(engine.GetErrorText()), nowhere + " not found");
  EXPECT_TRUE(filetree::Exists(At("file.txt")));
}

TEST_F(FileOpsEngine, ReadOnlyFileAskedAndAnsweredYesIsDeleted) {
  Make("ro.txt");
  filetree::SetReadOnly(At("ro.txt"));
  testkit::MessageBoxAnswerer answerer(IDYES);
  EXPECT_TRUE(engine.Delete(At("ro.txt").c_str()));
  EXPECT_FALSE(filetree::Exists(At("ro.txt")));
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].text, "ro.txt is read olny. Do you want delete it?");
  EXPECT_EQ(answerer.Boxes()[0].caption, "Warning");
  EXPECT_FALSE(engine.IsStopped());
}

TEST_F(FileOpsEngine, ReadOnlyFileAnsweredNoIsKeptWithItsFolderWithoutAnError) {
  Make("T\\ro.txt", "keep");
  Make("T\\plain.txt");
  filetree::SetReadOnly(At("T\\ro.txt"));
  testkit::MessageBoxAnswerer answerer(IDNO);
  EXPECT_TRUE(engine.Delete(At("T").c_str()));
  EXPECT_EQ(Tree(At("T")), (std::set<std::string>{"ro.txt"}));
  EXPECT_EQ(ReadTextFile(At("T\\ro.txt")), "keep");
  EXPECT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_TRUE(engine.IsStopped());
}

TEST_F(FileOpsEngine, CancelAtTheReadOnlyQuestionEndsTheWholeDelete) {
  Make("T\\A\\ro1.txt");
  Make("T\\B\\ro2.txt");
  filetree::SetReadOnly(At("T\\A\\ro1.txt"));
  filetree::SetReadOnly(At("T\\B\\ro2.txt"));
  testkit::MessageBoxAnswerer answerer(IDCANCEL);
  EXPECT_TRUE(engine.Delete(At("T").c_str()));
  EXPECT_EQ(answerer.Boxes().size(), 1u);  // asked once, then stopped
  EXPECT_TRUE(filetree::Exists(At("T\\A\\ro1.txt")));
  EXPECT_TRUE(filetree::Exists(At("T\\B\\ro2.txt")));
  EXPECT_EQ(engine.GetErrorCode(), 0u);
  EXPECT_TRUE(engine.IsStopped());
}

TEST_F(FileOpsEngine, DeletingWhatIsNotThereFailsWithTheSystemsReason) {
  EXPECT_FALSE(engine.Delete(At("missing").c_str()));
  DWORD code = engine.GetErrorCode();
  EXPECT_TRUE(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) << code;
  EXPECT_STREQ(engine.GetErrorText(), SystemErrorText(code));
  EXPECT_FALSE(engine.Delete(At("no\\such\\thing.txt").c_str()));
  EXPECT_EQ(engine.GetErrorCode(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileOpsEngine, DeleteRemovesAWholeTree) {
  Make("T\\a.txt");
  Make("T\\S\\U\\b.txt");
  filetree::MakeFolder(At("T\\Empty"));
  EXPECT_TRUE(engine.Delete(At("T\\").c_str()));
  EXPECT_FALSE(filetree::Exists(At("T")));
}

// An empty path names no item; its "contents" would be the root of the current drive.
TEST_F(FileOpsEngine, AnEmptyPathDeletesNothing) {
  Make("cwd\\stay.txt");
  std::string canary = "C:\\tidybar-fileops-canary.txt";
  WriteTextFile(canary, "here");
  {
    testkit::CurrentFolder inside(At("cwd"));
    ASSERT_TRUE(inside.Entered());
    EXPECT_FALSE(engine.Delete(""));
  }
  EXPECT_EQ(ReadTextFile(canary), "here");
  EXPECT_TRUE(filetree::Exists(At("cwd\\stay.txt")));
  DeleteFileA(canary.c_str());
}

TEST_F(FileOpsEngine, MoveTakesReadOnlySourcesWithoutAskingAndAsksAgainAfterwards) {
  Make("M\\r.txt", "r");
  Make("M\\n.txt", "n");
  Make("M\\S\\s.txt", "s");
  filetree::SetReadOnly(At("M\\r.txt"));
  filetree::SetReadOnly(At("M\\S\\s.txt"));
  filetree::MakeFolder(At("dst"));
  testkit::MessageBoxAnswerer answerer(IDNO);
  EXPECT_TRUE(engine.Move(At("M").c_str(), At("dst").c_str()));
  EXPECT_TRUE(answerer.Boxes().empty());
  EXPECT_FALSE(filetree::Exists(At("M")));
  EXPECT_EQ(Tree(At("dst")), (std::set<std::string>{"M\\", "M\\r.txt", "M\\n.txt", "M\\S\\", "M\\S\\s.txt"}));
  EXPECT_EQ(ReadTextFile(At("dst\\M\\S\\s.txt")), "s");

  EXPECT_TRUE(engine.Delete(At("dst\\M\\r.txt").c_str()));  // the copy kept its attribute
  EXPECT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_TRUE(filetree::Exists(At("dst\\M\\r.txt")));
}

TEST_F(FileOpsEngine, MoveOfOneFileIntoAFolder) {
  Make("f.txt", "f");
  Make("dst\\f.txt", "old");
  EXPECT_TRUE(engine.Move(At("f.txt").c_str(), At("dst").c_str()));
  EXPECT_FALSE(filetree::Exists(At("f.txt")));
  EXPECT_EQ(ReadTextFile(At("dst\\f.txt")), "old");
  EXPECT_EQ(ReadTextFile(At("dst\\Copy of f.txt")), "f");
}

// Moving a folder into itself would delete the copy with the source at the end.
TEST_F(FileOpsEngine, MoveOfAFolderIntoItselfIsRefusedAndTouchesNothing) {
  Make("A\\a.txt");
  Make("A\\B\\b.txt");
  auto before = Tree(dir.path);
  EXPECT_FALSE(engine.Move(At("A").c_str(), At("a\\B").c_str()));
  EXPECT_STREQ(engine.GetErrorText(), "Wrong operation");
  EXPECT_FALSE(engine.Move(At("A").c_str(), At("A").c_str()));
  EXPECT_EQ(Tree(dir.path), before);
}

TEST_F(FileOpsEngine, RenameKeepsTheSystemsReasonOnFailure) {
  Make("old.txt", "content");
  EXPECT_TRUE(engine.Rename(At("old.txt").c_str(), At("new.txt").c_str()));
  EXPECT_EQ(ReadTextFile(At("new.txt")), "content");
  EXPECT_FALSE(filetree::Exists(At("old.txt")));

  EXPECT_FALSE(engine.Rename(At("old.txt").c_str(), At("other.txt").c_str()));
  EXPECT_EQ(engine.GetErrorCode(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_STREQ(engine.GetErrorText(), SystemErrorText(ERROR_FILE_NOT_FOUND));
}
