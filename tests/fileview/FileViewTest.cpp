// The file view on real folders: listing, browsing, the keyboard's file commands, the
// clipboard, outside changes and folders that cannot be shown.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "FileViewHost.h"
#include "IconFiles.h"
#include "framework/Exceptions.h"
#include "framework/Handles.h"
#include "hosted/Fileviewctrl1.h"
#include "ocx/fileview/FileClipboard.h"
#include "ocx/fileview/WideText.h"
#include "tests/support/TestKit.h"

using testkit::WriteTextFile;

namespace {
class FileViewTest : public testing::Test {
 protected:
  FileViewTest() : dir("fileview") {
    CreateDirectoryA((dir / "left").c_str(), nullptr);
    CreateDirectoryA((dir / "right").c_str(), nullptr);
  }
  CFileViewControl* View(int id, const std::string& folder, const std::string& more = "") {
    return host.AddView(id, "root=" + folder + ";font=Tahoma" + more);
  }
  testkit::ScratchDir dir;
  ViewHost host;
};

// The texts of the boxes with this caption. (The answerer also takes the host dialog for a
// box when it is active again after one.)
std::vector<std::string> Boxes(const testkit::MessageBoxAnswerer& answerer, const std::string& caption) {
  std::vector<std::string> texts;
  for (const auto& box : answerer.Boxes())
    if (box.caption == caption) texts.push_back(box.text);
  return texts;
}
}  // namespace

TEST_F(FileViewTest, ListsFoldersFirstThenTheFilesThatMatchTheFilter) {
  WriteTextFile(dir / "left\\b.txt", "b");
  WriteTextFile(dir / "left\\A.txt", "a");
  WriteTextFile(dir / "left\\song.mp3", "m");
  WriteTextFile(dir / "left\\secret.txt", "s");
  SetFileAttributesA((dir / "left\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((dir / "left\\zeta").c_str(), nullptr);
  CFileViewControl* all = View(1003, dir / "left");
  EXPECT_EQ(ShownNames(all), (std::vector<std::string>{"zeta", "A.txt", "b.txt", "song.mp3"}));
  CFileViewControl* texts = View(1004, dir / "left", ";filter=*.txt");
  EXPECT_EQ(ShownNames(texts), (std::vector<std::string>{"zeta", "A.txt", "b.txt"}));

  auto shown = host.Heard(1);
  ASSERT_EQ(shown.size(), 3u) << "the template's view and the two made here";
  EXPECT_EQ(shown[1].view, DispatchOf(all));
  EXPECT_EQ(shown[1].values, (std::vector<double>{4, 0}));
}

TEST_F(FileViewTest, DoubleClickOpensASubFolderAndGoBackReturns) {
  CreateDirectoryA((dir / "left\\VIDEO").c_str(), nullptr);
  WriteTextFile(dir / "left\\VIDEO\\clip.avi", "v");
  CFileViewControl* view = View(1003, dir / "left");
  CFileviewctrl1 wrapper;
  wrapper.m_hWnd = view->GetSafeHwnd();
  wrapper.GoBack();  // nothing before the root: stays
  EXPECT_STREQ(view->GetFolder(), (dir / "left").c_str());

  RECT item;
  ListView_GetItemRect(view->GetListView(), 0, &item, LVIR_ICON);
  LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageA(view->GetListView(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(view->GetListView(), WM_LBUTTONUP, 0, at);
  SendMessageA(view->GetListView(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(view->GetListView(), WM_LBUTTONUP, 0, at);
  EXPECT_STREQ(view->GetFolder(), (dir / "left\\VIDEO").c_str());
  EXPECT_EQ(ShownNames(view), (std::vector<std::string>{"clip.avi"}));
  ASSERT_EQ(host.Heard(10).size(), 1u);
  EXPECT_EQ(host.Heard(10)[0].values[0], 1.0);

  wrapper.GoBack();
  EXPECT_STREQ(view->GetFolder(), (dir / "left").c_str());
  EXPECT_EQ(ShownNames(view), (std::vector<std::string>{"VIDEO"}));
  auto shown = host.Heard(1);
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown[shown.size() - 2].values, (std::vector<double>{1, 1})) << "in VIDEO, one step to go back";
  EXPECT_EQ(shown.back().values, (std::vector<double>{1, 0}));
  EXPECT_THROW(wrapper.InvokeHelper(fileviewcontract::kGoBack, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I4(1)}),
               COleDispatchException);
}

TEST_F(FileViewTest, OpensAFileThroughTheShell) {
  std::string marker = dir / "left\\ran.txt";
  WriteTextFile(dir / "left\\run.bat", "@echo ran> \"" + marker + "\"\r\n");
  CFileViewControl* view = View(1003, dir / "left");
  view->OpenItem(IndexOf(view, "run.bat"));
  EXPECT_TRUE(PumpUntilDone([&] { return Exists(marker); }, 15000));
  ASSERT_EQ(host.Heard(10).size(), 1u);
  EXPECT_EQ(host.Heard(10)[0].values[0], 0.0);
}

TEST_F(FileViewTest, CopyCutAndPasteGoThroughTheClipboard) {
  WriteTextFile(dir / "left\\one.txt", "1");
  WriteTextFile(dir / "left\\two.txt", "2");
  CFileViewControl* left = View(1003, dir / "left");
  CFileViewControl* right = View(1004, dir / "right");
  SelectOnly(left, {IndexOf(left, "one.txt")});
  PressKey(left, 'C', true);
  PressKey(right, 'V', true);
  EXPECT_TRUE(Exists(dir / "right\\one.txt"));
  EXPECT_TRUE(Exists(dir / "left\\one.txt"));
  PressKey(right, 'V', true);
  EXPECT_TRUE(Exists(dir / "right\\Copy of one.txt")) << "a second paste takes a free name";
  EXPECT_EQ(ShownNames(right).size(), 2u) << "the view shows what was pasted at once";

  SelectOnly(left, {IndexOf(left, "two.txt")});
  PressKey(left, 'X', true);
  EXPECT_TRUE(Exists(dir / "left\\two.txt")) << "a cut moves nothing until the paste";
  PressKey(right, 'V', true);
  EXPECT_FALSE(Exists(dir / "left\\two.txt"));
  EXPECT_TRUE(Exists(dir / "right\\two.txt"));
  DWORD effect = 0;
  EXPECT_TRUE(fileclipboard::Get(nullptr, &effect).empty()) << "the cut files are gone from the clipboard";
  auto before = host.Heard(24);
  ASSERT_EQ(before.size(), 3u);
  EXPECT_EQ(before[2].values, (std::vector<double>{DROPEFFECT_MOVE, 1}));
}

TEST_F(FileViewTest, PastesFilesOfferedByAnotherProgramAndHonoursACancel) {
  WriteTextFile(dir / "right\\outside.txt", "o");
  CFileViewControl* left = View(1003, dir / "left");
  ASSERT_TRUE(fileclipboard::Put(nullptr, {widetext::FromAnsi((dir / "right\\outside.txt").c_str())}, DROPEFFECT_MOVE));
  host.cancelTransfer = true;
  PressKey(left, 'V', true);
  EXPECT_TRUE(Exists(dir / "right\\outside.txt"));
  host.cancelTransfer = false;
  host.transferEffect = DROPEFFECT_COPY;  // the container turns the move into a copy
  PressKey(left, 'V', true);
  EXPECT_TRUE(Exists(dir / "right\\outside.txt"));
  EXPECT_TRUE(Exists(dir / "left\\outside.txt"));
}

TEST_F(FileViewTest, F2RenamesInPlaceAndRefusesBadNames) {
  WriteTextFile(dir / "left\\old.txt", "x");
  WriteTextFile(dir / "left\\taken.txt", "t");
  CFileViewControl* view = View(1003, dir / "left");
  auto rename = [&](const char* from, const char* to) {
    SelectOnly(view, {IndexOf(view, from)});
    PressKey(view, VK_F2);
    HWND edit = ListView_GetEditControl(view->GetListView());
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, to);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PumpUntilDone([] { return false; }, 20);
  };
  rename("old.txt", "new.txt");
  EXPECT_TRUE(Exists(dir / "left\\new.txt"));
  EXPECT_FALSE(Exists(dir / "left\\old.txt"));
  EXPECT_EQ(ListView_GetNextItem(view->GetListView(), -1, LVNI_SELECTED), IndexOf(view, "new.txt"));

  testkit::MessageBoxAnswerer answerer(IDOK);
  rename("new.txt", "taken.txt");
  rename("new.txt", "a?b.txt");
  EXPECT_TRUE(Exists(dir / "left\\new.txt"));
  EXPECT_EQ(testkit::ReadTextFile(dir / "left\\taken.txt"), "t");
  EXPECT_EQ(Boxes(answerer, "Tidybar").size(), 2u);
}

TEST_F(FileViewTest, ShiftDeleteAsksFirst) {
  WriteTextFile(dir / "left\\keep.txt", "k");
  CreateDirectoryA((dir / "left\\tree").c_str(), nullptr);
  WriteTextFile(dir / "left\\tree\\leaf.txt", "l");
  CFileViewControl* view = View(1003, dir / "left");
  SelectOnly(view, {IndexOf(view, "keep.txt"), IndexOf(view, "tree")});
  {
    testkit::MessageBoxAnswerer answerer(IDNO);
    PressKey(view, VK_DELETE, false, true);
    ASSERT_EQ(Boxes(answerer, "Delete").size(), 1u);
    EXPECT_EQ(Boxes(answerer, "Delete")[0], "Delete these 2 items for good?");
  }
  EXPECT_TRUE(Exists(dir / "left\\keep.txt"));
  {
    testkit::MessageBoxAnswerer answerer(IDYES);
    PressKey(view, VK_DELETE, false, true);
  }
  EXPECT_FALSE(Exists(dir / "left\\keep.txt"));
  EXPECT_FALSE(Exists(dir / "left\\tree"));
  EXPECT_TRUE(ShownNames(view).empty());
}

TEST_F(FileViewTest, FollowsChangesMadeOutsideAndKeepsTheSelection) {
  WriteTextFile(dir / "left\\b.txt", "b");
  CFileViewControl* view = View(1003, dir / "left");
  SelectOnly(view, {0});
  WriteTextFile(dir / "left\\a.txt", "a");
  ASSERT_TRUE(PumpUntilDone([&] { return ShownNames(view).size() == 2; }, 5000));
  EXPECT_EQ(ListView_GetNextItem(view->GetListView(), -1, LVNI_SELECTED), 1) << "b.txt stays selected";
  DeleteFileA((dir / "left\\a.txt").c_str());
  EXPECT_TRUE(PumpUntilDone([&] { return ShownNames(view).size() == 1; }, 5000));
}

TEST_F(FileViewTest, AFolderThatCannotBeShownSaysSoUntilItComes) {
  CFileViewControl* fromTemplate = static_cast<CFileViewControl*>(CWnd::FromHandlePermanent(host.GetDlgItem(1002)));
  ASSERT_NE(fromTemplate, nullptr);
  EXPECT_STREQ(fromTemplate->GetListing().GetProblemText(),
               "The folder C:\\tyb-missing\\TYBICONS\\VIDEO does not exist.");
  EXPECT_FALSE(IsWindowVisible(fromTemplate->GetListView()));

  WriteTextFile(dir / "file.txt", "f");
  CFileViewControl* onFile = View(1003, dir / "file.txt");
  EXPECT_EQ(onFile->GetListing().GetStatus(), CFolderListing::Status::kNotAFolder);
  CFileViewControl* garbled = host.AddView(1004, ";;root;=x;font==;filter");
  EXPECT_EQ(garbled->GetListing().GetStatus(), CFolderListing::Status::kMissing);
  PressKey(garbled, 'V', true);  // commands on nothing do nothing
  PressKey(garbled, VK_DELETE);
  EXPECT_EQ(host.Heard(1)[0].values[0], -1.0);

  CFileViewControl* later = View(1005, dir / "later");
  CreateDirectoryA((dir / "later").c_str(), nullptr);
  WriteTextFile(dir / "later\\x.txt", "x");
  EXPECT_TRUE(PumpUntilDone([&] { return ShownNames(later).size() == 1; }, 5000));
  EXPECT_TRUE(IsWindowVisible(later->GetListView()));
}

TEST_F(FileViewTest, NamesOutsideTheCodePageAreShownAndReachable) {
  std::wstring wide(dir.path.begin(), dir.path.end());
  wide += L"\\left\\\x0416\x0436.txt";
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  CFileViewControl* view = View(1003, dir / "left");
  ASSERT_EQ(view->GetListing().Items().size(), 1u);
  const FileItem& item = view->GetListing().Items()[0];
  EXPECT_NE(item.name.Find(".txt"), -1);
  EXPECT_NE(GetFileAttributesA(item.path), INVALID_FILE_ATTRIBUTES) << item.path.GetString();
  view->SetShellAsksBeforeRecycling(false);
  SelectOnly(view, {0});
  PressKey(view, VK_DELETE);
  EXPECT_EQ(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileViewTest, TenThousandItemsShowAtOnceAndIconsFollow) {
  auto name = [&](int i) {
    char text[32];
    wsprintfA(text, "left\\item%05d.%s", i, i % 3 ? "txt" : "mp3");
    return dir / text;
  };
  for (int i = 0; i < 10000; ++i)
    CloseHandle(CreateFileA(name(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  // How fast is bench/fileview's question; here: every item listed, then every icon in.
  // (Type icons need one look-up per extension, so all of them are in within a few ticks.)
  CFileViewControl* view = host.MakeView(1003, "root=" + (dir / "left") + ";font=Tahoma");
  UpdateWindow(host.GetSafeHwnd());
  EXPECT_EQ(ListView_GetItemCount(view->GetListView()), 10000);
  EXPECT_TRUE(view->IsLoadingIcons());
  EXPECT_TRUE(PumpUntilDone([&] { return !view->IsLoadingIcons(); }, 120000));
  host.DestroyWindow();
  for (int i = 0; i < 10000; ++i) DeleteFileA(name(i).c_str());  // quicker than the scratch folder's clean-up
}

// A folder renamed while shown is noticed like one that was never there.
TEST_F(FileViewTest, AFolderThatGoesWhileShownSaysItIsGone) {
  CreateDirectoryA((dir / "going").c_str(), nullptr);
  WriteTextFile(dir / "going\\a.txt", "a");
  CFileViewControl* renamed = View(1003, dir / "going");
  ASSERT_EQ(ShownNames(renamed).size(), 1u);
  ASSERT_TRUE(MoveFileA((dir / "going").c_str(), (dir / "gone").c_str()));
  EXPECT_TRUE(
      PumpUntilDone([&] { return renamed->GetListing().GetStatus() == CFolderListing::Status::kMissing; }, 5000));
  EXPECT_TRUE(ShownNames(renamed).empty());
  EXPECT_FALSE(IsWindowVisible(renamed->GetListView()));
}

// Deleted by another program, the way any program deletes a folder: its items first, then
// the folder. The view must not keep the folder from going (Wine keeps a folder that someone
// holds open on disk, looking as it was), and then says it is gone.
TEST_F(FileViewTest, AFolderDeletedWhileShownGoesAndSaysItIsGone) {
  std::string full = dir / "full", empty = dir / "empty";
  CreateDirectoryA(full.c_str(), nullptr);
  CreateDirectoryA(empty.c_str(), nullptr);
  WriteTextFile(full + "\\a.txt", "a");
  WriteTextFile(full + "\\hidden.txt", "h");
  SetFileAttributesA((full + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CFileViewControl* fullView = View(1003, full);
  CFileViewControl* emptyView = View(1004, empty);
  ASSERT_EQ(ShownNames(fullView).size(), 1u);
  PumpUntilDone([] { return false; }, 600);  // both views look at least once
  auto gone = [](CFileViewControl* view) { return view->GetListing().GetStatus() == CFolderListing::Status::kMissing; };
  for (const char* name : {"\\a.txt", "\\hidden.txt"}) {
    SetFileAttributesA((full + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA((full + name).c_str()));
  }
  ASSERT_TRUE(RemoveDirectoryA(full.c_str()));
  ASSERT_TRUE(RemoveDirectoryA(empty.c_str()));
  EXPECT_TRUE(PumpUntilDone([&] { return gone(fullView) && gone(emptyView); }, 5000));
  EXPECT_EQ(GetFileAttributesA(full.c_str()), INVALID_FILE_ATTRIBUTES) << "the delete finished";
  EXPECT_EQ(GetFileAttributesA(empty.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(ShownNames(fullView).empty());
  EXPECT_FALSE(IsWindowVisible(fullView->GetListView()));
  EXPECT_FALSE(IsWindowVisible(emptyView->GetListView()));
}

// An empty folder is not held open, yet what comes into it still shows, hidden or not.
TEST_F(FileViewTest, AnEmptyFolderStillShowsWhatComesIn) {
  CFileViewControl* view = View(1003, dir / "left");
  PumpUntilDone([] { return false; }, 600);
  WriteTextFile(dir / "left\\secret.txt", "s");
  SetFileAttributesA((dir / "left\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  PumpUntilDone([] { return false; }, 1200);
  EXPECT_TRUE(ShownNames(view).empty()) << "hidden";
  WriteTextFile(dir / "left\\new.txt", "n");
  EXPECT_TRUE(PumpUntilDone([&] { return ShownNames(view).size() == 1; }, 5000));
  ASSERT_TRUE(DeleteFileA((dir / "left\\new.txt").c_str()));
  EXPECT_TRUE(PumpUntilDone([&] { return ShownNames(view).empty(); }, 5000));
  SetFileAttributesA((dir / "left\\secret.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(PumpUntilDone([&] { return ShownNames(view).size() == 1; }, 5000)) << "shown once it is not hidden";
}

namespace {
COLORREF ShadeOf(int i) { return RGB(2 * i, 255 - 2 * i, 96); }

int ImageOf(CFileViewControl* view, int index) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  ListView_GetItem(view->GetListView(), &item);
  return item.iImage;
}
}  // namespace

// Icons are added to the shell's image list while the view draws from it; each shortcut ends
// with the icon it names, whole.
TEST_F(FileViewTest, IconsAddedWhileTheViewDrawsComeOutWhole) {
  CreateDirectoryA((dir / "icons").c_str(), nullptr);
  const int count = 100;
  for (int i = 0; i < count; ++i) {
    std::string number = std::to_string(100 + i);
    WriteSolidIcon(dir / ("icons\\c" + number + ".ico"), ShadeOf(i));
    ASSERT_TRUE(MakeShortcut(dir / ("left\\s" + number + ".lnk"), dir / "icons", dir / ("icons\\c" + number + ".ico")));
  }
  CFileViewControl* view = host.AddView(1003, "root=" + (dir / "left") + ";font=Tahoma", 0, 0, 600, 380);
  EXPECT_TRUE(PumpUntilDone(
      [&] {
        RedrawWindow(view->GetListView(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return !view->IsLoadingIcons();
      },
      30000));
  HIMAGELIST images = ListView_GetImageList(view->GetListView(), LVSIL_NORMAL);
  int spoilt = 0;
  for (int i = 0; i < count; ++i) spoilt += MiddleOfImage(images, ImageOf(view, i)) != ShadeOf(i);
  EXPECT_EQ(spoilt, 0);
}

// A folder opened while the icons of the one before are still being looked up shows none
// of them.
TEST_F(FileViewTest, AFolderOpenedWhileIconsComeInShowsNoneOfTheOldOnes) {
  WriteSolidIcon(dir / "red.ico", RGB(255, 0, 0));
  CreateDirectoryA((dir / "left\\inner").c_str(), nullptr);
  for (int i = 0; i < 150; ++i) {
    std::string number = std::to_string(100 + i);
    ASSERT_TRUE(MakeShortcut(dir / ("left\\s" + number + ".lnk"), dir / "red.ico", dir / "red.ico"));
    WriteTextFile(dir / ("left\\inner\\p" + number + ".exe"), "x");
  }
  CFileViewControl* view = View(1003, dir / "left");
  HIMAGELIST images = ListView_GetImageList(view->GetListView(), LVSIL_NORMAL);
  ASSERT_TRUE(PumpUntilDone([&] { return MiddleOfImage(images, ImageOf(view, 1)) == RGB(255, 0, 0); }));
  ASSERT_TRUE(view->IsLoadingIcons()) << "the rest are still on the way";
  view->OpenItem(0);
  ASSERT_STREQ(view->GetFolder(), (dir / "left\\inner").c_str());
  EXPECT_TRUE(PumpUntilDone([&] { return !view->IsLoadingIcons(); }, 20000));
  SHFILEINFOA program{};
  SHGetFileInfoA((dir / "left\\inner\\p100.exe").c_str(), 0, &program, sizeof program,
                 SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
  int stale = 0;
  for (int i = 0; i < 150; ++i) stale += ImageOf(view, i) != program.iIcon;
  EXPECT_EQ(stale, 0);
}

// A folder of documents has only type icons, all in at once; a shortcut that comes in later
// brings its own icon.
TEST_F(FileViewTest, AShortcutAddedToAFolderOfDocumentsBringsItsIcon) {
  for (int i = 0; i < 50; ++i) WriteTextFile(dir / ("left\\d" + std::to_string(100 + i) + ".txt"), "d");
  CFileViewControl* view = View(1003, dir / "left");
  EXPECT_TRUE(PumpUntilDone([&] { return !view->IsLoadingIcons(); }));
  WriteSolidIcon(dir / "green.ico", RGB(0, 255, 0));
  ASSERT_TRUE(MakeShortcut(dir / "left\\a.lnk", dir / "green.ico", dir / "green.ico"));
  view->Reload();
  EXPECT_TRUE(PumpUntilDone([&] { return !view->IsLoadingIcons(); }));
  HIMAGELIST images = ListView_GetImageList(view->GetListView(), LVSIL_NORMAL);
  EXPECT_EQ(MiddleOfImage(images, ImageOf(view, IndexOf(view, "a.lnk"))), RGB(0, 255, 0));
}
