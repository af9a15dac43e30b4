// The shell's file-list formats as the view writes and reads them, its data object, and
// the rules by which dropped files are copied or moved.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "FileViewHost.h"
#include "ocx/fileview/FileDataObject.h"
#include "ocx/fileview/FileDropList.h"
#include "ocx/fileview/FileTransfer.h"
#include "ocx/fileview/WideText.h"
#include "tests/support/TestKit.h"

namespace {
// A CF_HDROP block with `bytes` after its header, as another program might make it.
HGLOBAL RawDrop(const void* bytes, size_t size, bool wide, DWORD offset = sizeof(DROPFILES)) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + size);
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = offset;
  header->fWide = wide;
  std::memcpy(header + 1, bytes, size);
  GlobalUnlock(block);
  return block;
}

std::vector<std::string> Texts(const std::vector<std::wstring>& paths) {
  std::vector<std::string> texts;
  for (const std::wstring& path : paths) texts.push_back(widetext::ToAnsi(path).GetString());
  return texts;
}

std::wstring W(const std::string& text) { return widetext::FromAnsi(text.c_str()); }
}  // namespace

TEST(FileFormats, DropListsReadBackWhatWasWrittenAndSurviveBadBlocks) {
  HGLOBAL made = filedrop::MakeDropFiles({L"C:\\a.txt", L"C:\\b c\\d"});
  EXPECT_EQ(Texts(filedrop::ReadDropFiles(made)), (std::vector<std::string>{"C:\\a.txt", "C:\\b c\\d"}));
  GlobalFree(made);

  const wchar_t wide[] = L"C:\\w.txt\0C:\\x\0";
  HGLOBAL fromWide = RawDrop(wide, sizeof wide, true);
  EXPECT_EQ(Texts(filedrop::ReadDropFiles(fromWide)), (std::vector<std::string>{"C:\\w.txt", "C:\\x"}));
  GlobalFree(fromWide);

  const char unterminated[] = {'C', ':', '\\', 'z'};
  HGLOBAL bad = RawDrop(unterminated, sizeof unterminated, false);
  EXPECT_TRUE(filedrop::ReadDropFiles(bad).empty());
  GlobalFree(bad);
  HGLOBAL outside = RawDrop("C:\\a\0", 5, false, 4000);
  EXPECT_TRUE(filedrop::ReadDropFiles(outside).empty());
  GlobalFree(outside);
  EXPECT_TRUE(filedrop::ReadDropFiles(nullptr).empty());
  EXPECT_EQ(filedrop::ReadEffect(nullptr, 7), 7u);
}

TEST(FileFormats, TheDataObjectGivesItsFormatsAndKeepsWhatATargetSets) {
  ComPtr<IDataObject> data = CFileDataObject::Create({L"C:\\one.txt"}, DROPEFFECT_MOVE);
  EXPECT_TRUE(filedrop::HasFiles(data.Get()));
  EXPECT_EQ(Texts(filedrop::FilesFrom(data.Get())), (std::vector<std::string>{"C:\\one.txt"}));
  EXPECT_EQ(filedrop::EffectFrom(data.Get(), filedrop::PreferredEffectFormat(), 0), DWORD(DROPEFFECT_MOVE));
  EXPECT_EQ(filedrop::EffectFrom(data.Get(), filedrop::PerformedEffectFormat(), 99), 99u);
  EXPECT_TRUE(filedrop::SetEffect(data.Get(), filedrop::PerformedEffectFormat(), DROPEFFECT_COPY));
  EXPECT_EQ(filedrop::EffectFrom(data.Get(), filedrop::PerformedEffectFormat(), 99), DWORD(DROPEFFECT_COPY));

  ComPtr<IEnumFORMATETC> formats;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.Receive()), S_OK);
  FORMATETC format;
  int count = 0;
  while (formats->Next(1, &format, nullptr) == S_OK) ++count;
  EXPECT_EQ(count, 3);
  FORMATETC asStream{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
  EXPECT_NE(data->QueryGetData(&asStream), S_OK);
  ComPtr<IDataObject> drag = CFileDataObject::Create({L"C:\\one.txt"}, 0);
  EXPECT_EQ(filedrop::EffectFrom(drag.Get(), filedrop::PreferredEffectFormat(), 0), 0u) << "a drag prefers nothing";
}

TEST(FileFormats, TransfersSkipWhatChangesNothingAndNeverMoveAFolderIntoItself) {
  testkit::ScratchDir dir("fileview-transfer");
  CreateDirectoryA((dir / "box").c_str(), nullptr);
  CreateDirectoryA((dir / "box\\inner").c_str(), nullptr);
  testkit::WriteTextFile(dir / "box\\a.txt", "a");

  CFileTransfer moveHere;
  EXPECT_TRUE(moveHere.Run({W(dir / "box\\a.txt")}, W(dir / "box\\"), DROPEFFECT_MOVE));
  EXPECT_EQ(moveHere.GetDone(), 0);
  EXPECT_TRUE(Exists(dir / "box\\a.txt"));

  CFileTransfer copyHere;
  EXPECT_TRUE(copyHere.Run({W(dir / "box\\a.txt")}, W(dir / "box"), DROPEFFECT_COPY));
  EXPECT_TRUE(Exists(dir / "box\\Copy of a.txt"));

  CFileTransfer intoItself;
  EXPECT_FALSE(intoItself.Run({W(dir / "box"), W(dir / "box\\a.txt")}, W(dir / "box\\inner"),
                              DROPEFFECT_MOVE));
  EXPECT_STREQ(intoItself.GetErrorText(), ("The folder " + dir / "box" + " cannot be moved into itself.").c_str());
  EXPECT_EQ(intoItself.GetDone(), 1) << "the other item still moves";
  EXPECT_TRUE(Exists(dir / "box\\inner\\a.txt"));

  CFileTransfer missing;
  EXPECT_FALSE(missing.Run({W(dir / "gone.txt")}, W(dir / "box"), DROPEFFECT_COPY));
  EXPECT_FALSE(missing.GetErrorText().IsEmpty());
}
