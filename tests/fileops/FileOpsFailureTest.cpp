// Bad input: every failure is a FALSE result with the system's text and code, nothing in
// the source is lost, and a move that stops part way leaves each file either still at the
// source or complete at the destination.
#include "fileops/FileOpsEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Handles.h"
#include "tests/fileops/EngineTest.h"
#include "tests/fileops/FileTree.h"
#include "tests/support/TestKit.h"

using testkit::ReadTextFile;

namespace {

class FileOpsFailure : public filetree::EngineTest {
 protected:
  // The last failure is a real system error, reported with the system's own text.
  void ExpectSystemFailure(DWORD expectedCode) const {
    EXPECT_EQ(engine.GetErrorCode(), expectedCode);
    EXPECT_STREQ(engine.GetErrorText(), SystemErrorText(expectedCode));
    EXPECT_FALSE(CString(engine.GetErrorText()).IsEmpty());
  }

  // Ten files in a folder named `folder`, each holding its own name.
  std::vector<std::string> MakeTenFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) {
      names.push_back("f" + std::to_string(i) + ".txt");
      Make(folder + "\\" + names.back(), names.back());
    }
    return names;
  }

  // Each file is at exactly one place, the source or the destination, and complete there.
  void ExpectEachFileAtOnePlace(const std::vector<std::string>& names, const std::string& source,
                                const std::string& destination) {
    for (const auto& name : names) {
      bool atSource = filetree::Exists(At(source + "\\" + name));
      bool atDestination = filetree::Exists(At(destination + "\\" + name));
      EXPECT_TRUE(atSource || atDestination) << name << " is lost";
      std::string content = ReadTextFile(At((atSource ? source : destination) + "\\" + name));
      EXPECT_EQ(content, name);
    }
  }
};

}  // namespace

TEST_F(FileOpsFailure, PathsLongerThanMaxPathFailWithTheSystemsReason) {
  Make("src\\f.txt", "f");
  std::string tooLong = At(std::string(300, 'x'));
  EXPECT_FALSE(engine.Copy(tooLong.c_str(), At("src").c_str()));
  ExpectSystemFailure(ERROR_FILENAME_EXCED_RANGE);
  EXPECT_FALSE(engine.Copy(At("src\\f.txt").c_str(), tooLong.c_str()));
  ExpectSystemFailure(ERROR_FILENAME_EXCED_RANGE);
  EXPECT_FALSE(engine.Move(At("src").c_str(), tooLong.c_str()));
  ExpectSystemFailure(ERROR_FILENAME_EXCED_RANGE);
  EXPECT_FALSE(engine.Delete(tooLong.c_str()));
  ExpectSystemFailure(ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(ReadTextFile(At("src\\f.txt")), "f");
}

// The tree fits where it is but not below a deep destination.
TEST_F(FileOpsFailure, ATreeThatGrowsPastMaxPathAtTheDestinationStopsWithAnError) {
  auto names = MakeTenFiles("src\\" + std::string(60, 'n'));
  std::string deep = At(std::string(70, 'd') + "\\" + std::string(70, 'e'));
  filetree::MakeFolder(deep);
  ASSERT_TRUE(filetree::Exists(deep));
  EXPECT_FALSE(engine.Move(At("src").c_str(), deep.c_str()));
  ExpectSystemFailure(ERROR_FILENAME_EXCED_RANGE);
  for (const auto& name : names) EXPECT_EQ(ReadTextFile(At("src\\" + std::string(60, 'n') + "\\" + name)), name);
}

TEST_F(FileOpsFailure, ALockedFileInTheMiddleStopsCopyAndMove) {
  auto names = MakeTenFiles("src\\L");
  filetree::MakeFolder(At("dst"));
  FileHandle lock(CreateFileA(At("src\\L\\f4.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);

  EXPECT_FALSE(engine.Copy(At("src\\L").c_str(), At("dst").c_str()));
  ExpectSystemFailure(ERROR_SHARING_VIOLATION);
  EXPECT_EQ(filetree::Tree(At("src\\L")).size(), names.size());
  filetree::Remove(At("dst\\L"));

  EXPECT_FALSE(engine.Move(At("src\\L").c_str(), At("dst").c_str()));
  ExpectSystemFailure(ERROR_SHARING_VIOLATION);
  lock.Reset();
  ExpectEachFileAtOnePlace(names, "src\\L", "dst\\L");
  EXPECT_TRUE(filetree::Exists(At("src\\L\\f4.txt")));
}

// Copying a file onto itself in overwrite mode must not empty it, nor may a move then
// delete the only copy.
TEST_F(FileOpsFailure, AFileOverwrittenWithItselfKeepsItsContent) {
  Make("d\\f.txt", "content");
  engine.SetOverwrite(true);
  EXPECT_FALSE(engine.Copy(At("d\\f.txt").c_str(), At("d").c_str()));
  EXPECT_FALSE(engine.Move(At("d\\f.txt").c_str(), At("D\\F.TXT").c_str()));
  EXPECT_NE(engine.GetErrorCode(), 0u);
  EXPECT_EQ(ReadTextFile(At("d\\f.txt")), "content");
}

TEST_F(FileOpsFailure, NamesOutsideAsciiInTheCodePageAreCopiedAndMoved) {
  std::string folder = "Caf\xE9 \xFC";  // "Café ü" in the Western code page
  std::string file = "R\xE9sum\xE9.txt";
  Make("src\\" + folder + "\\" + file, "accents");
  filetree::MakeFolder(At("copy"));
  filetree::MakeFolder(At("moved"));
  EXPECT_TRUE(engine.Copy(At("src\\" + folder).c_str(), At("copy").c_str()));
  EXPECT_EQ(ReadTextFile(At("copy\\" + folder + "\\" + file)), "accents");
  EXPECT_TRUE(engine.Move(At("src\\" + folder).c_str(), At("moved").c_str()));
  EXPECT_EQ(ReadTextFile(At("moved\\" + folder + "\\" + file)), "accents");
  EXPECT_FALSE(filetree::Exists(At("src\\" + folder)));
}

// A name the 8-bit functions cannot spell comes back with "?" in it; the engine must say
// so and leave the file where it is.
TEST_F(FileOpsFailure, ANameOutsideTheCodePageFailsAndStaysAtTheSource) {
  auto names = MakeTenFiles("src\\U");
  std::wstring wide =
      std::wstring(L"") + std::wstring(dir.path.begin(), dir.path.end()) + L"\\src\\U\\\x65E5\x672C.txt";
  CloseHandle(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  ASSERT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  filetree::MakeFolder(At("dst"));

  EXPECT_FALSE(engine.Copy(At("src\\U").c_str(), At("dst").c_str()));
  ExpectSystemFailure(ERROR_INVALID_NAME);
  filetree::Remove(At("dst\\U"));
  EXPECT_FALSE(engine.Move(At("src\\U").c_str(), At("dst").c_str()));
  ExpectSystemFailure(ERROR_INVALID_NAME);
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  ExpectEachFileAtOnePlace(names, "src\\U", "dst\\U");

  EXPECT_FALSE(engine.Delete(At("src\\U").c_str()));
  ExpectSystemFailure(ERROR_INVALID_NAME);
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}
