// Dropping files on a view: the drop target with data objects as another program would
// hand them, the Move/Copy menu of a right-button drop, and a whole drag from one view to
// another through OLE.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "FileViewHost.h"
#include "ocx/fileview/FileDataObject.h"
#include "ocx/fileview/WideText.h"
#include "ocx/fileview/FileDropList.h"
#include "tests/support/TestKit.h"

using testkit::WriteTextFile;

namespace {
// Answers the next pop-up menu with a key: a mnemonic character, or Escape when 0.
class MenuAnswerer {
 public:
  explicit MenuAnswerer(char key) {
    s_key = key;
    s_answered = 0;
    m_timer = SetTimer(nullptr, 0, 30, &MenuAnswerer::Tick);
  }
  ~MenuAnswerer() { KillTimer(nullptr, m_timer); }
  int Answered() const { return s_answered; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    ++s_answered;
    if (s_key) PostMessageA(menu, WM_CHAR, WPARAM(s_key), 1);
    else PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  }
  static inline char s_key = 0;
  static inline int s_answered = 0;
  UINT_PTR m_timer;
};

class FileViewDropTest : public testing::Test {
 protected:
  FileViewDropTest() : dir("fileview-drop") {
    CreateDirectoryA((dir / "left").c_str(), nullptr);
    CreateDirectoryA((dir / "right").c_str(), nullptr);
    WriteTextFile(dir / "left\\a.txt", "a");
    left = host.AddView(1003, "root=" + dir / "left", 20, 180, 250, 180);
    right = host.AddView(1004, "root=" + dir / "right", 300, 180, 250, 180);
  }

  // A point over the right view's empty part, in screen coordinates.
  POINTL Empty(CFileViewControl* view) const {
    RECT box;
    GetWindowRect(view->GetListView(), &box);
    return POINTL{box.right - 20, box.bottom - 20};
  }

  // Drags `files` over `view` to `at` with `keys` held, and drops them there.
  DWORD Drop(CFileViewControl* view, const std::vector<std::wstring>& files, DWORD keys, POINTL at,
             DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
    ComPtr<IDataObject> data = CFileDataObject::Create(files, 0);
    lastData = data;
    IDropTarget* target = view->GetDropTarget();
    DWORD effect = allowed;
    target->DragEnter(data.Get(), keys, at, &effect);
    effect = allowed;
    target->DragOver(keys, at, &effect);
    overEffect = effect;
    effect = allowed;
    target->Drop(data.Get(), keys & ~(MK_LBUTTON | MK_RBUTTON), at, &effect);
    return effect;
  }
  // What the last drop says it did, beside the effect it returned.
  DWORD Logical() const {
    return filedrop::EffectFrom(lastData.Get(), filedrop::LogicalPerformedEffectFormat(), DROPEFFECT_NONE);
  }
  std::wstring Path(const std::string& relative) const { return widetext::FromAnsi((dir / relative).c_str()); }

  testkit::ScratchDir dir;
  ViewHost host;
  CFileViewControl* left = nullptr;
  CFileViewControl* right = nullptr;
  DWORD overEffect = 0;
  ComPtr<IDataObject> lastData;
};

// Whether `view` is registered for drops, once its first screen is up.
bool TakesDrops(CFileViewControl* view) {
  HWND list = view->GetListView();
  ComPtr<IDropTarget> other(view->GetDropTarget(), true);
  return PumpUntilDone([&] {
    HRESULT hr = RegisterDragDrop(list, other.Get());
    if (SUCCEEDED(hr)) RevokeDragDrop(list);  // not the view's yet: give it back
    return hr == DRAGDROP_E_ALREADYREGISTERED;
  }, 3000);
}
}  // namespace

TEST_F(FileViewDropTest, ALeftDropMovesWithinADriveAndCopiesWithCtrl) {
  EXPECT_EQ(Drop(right, {Path("left\\a.txt")}, MK_LBUTTON | MK_CONTROL, Empty(right)), DWORD(DROPEFFECT_COPY));
  EXPECT_TRUE(Exists(dir / "left\\a.txt"));
  EXPECT_TRUE(Exists(dir / "right\\a.txt"));
  EXPECT_EQ(Drop(right, {Path("left\\a.txt")}, MK_LBUTTON, Empty(right)), DWORD(DROPEFFECT_NONE))
      << "moved here: the source must not delete anything";
  EXPECT_EQ(Logical(), DWORD(DROPEFFECT_MOVE));
  EXPECT_FALSE(Exists(dir / "left\\a.txt"));
  EXPECT_TRUE(Exists(dir / "right\\Copy of a.txt"));
  EXPECT_EQ(ShownNames(right), (std::vector<std::string>{"a.txt", "Copy of a.txt"}));

  auto over = host.Heard(22);
  ASSERT_GE(over.size(), 2u);
  EXPECT_EQ(over[0].view, DispatchOf(right));
  EXPECT_EQ(over[0].values[0], DROPEFFECT_COPY);
  EXPECT_EQ(over[0].values[2], 1.0) << "one file";
  EXPECT_EQ(over[0].values[5], 0.0) << "entering";
  EXPECT_EQ(over[1].values[5], 2.0) << "moving over";
  EXPECT_EQ(over[0].source, nullptr) << "not dragged from one of our views";
  auto dropped = host.Heard(25);
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[1].values[0], DROPEFFECT_COPY | DROPEFFECT_MOVE);
  EXPECT_EQ(host.Heard(24).size(), 2u);
}

TEST_F(FileViewDropTest, ARightDropAsksWhetherToMoveOrCopy) {
  {
    MenuAnswerer answer('c');
    EXPECT_EQ(Drop(right, {Path("left\\a.txt")}, MK_RBUTTON, Empty(right)), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(answer.Answered(), 1);
  }
  EXPECT_TRUE(Exists(dir / "left\\a.txt"));
  EXPECT_TRUE(Exists(dir / "right\\a.txt"));
  {
    MenuAnswerer answer(0);
    EXPECT_EQ(Drop(right, {Path("left\\a.txt")}, MK_RBUTTON, Empty(right)), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Logical(), DWORD(DROPEFFECT_NONE));
  }
  {
    MenuAnswerer answer('m');
    Drop(right, {Path("left\\a.txt")}, MK_RBUTTON, Empty(right));
    EXPECT_EQ(Logical(), DWORD(DROPEFFECT_MOVE));
  }
  EXPECT_FALSE(Exists(dir / "left\\a.txt"));
  EXPECT_TRUE(Exists(dir / "right\\Copy of a.txt"));
}

TEST_F(FileViewDropTest, ADropOnAFolderGoesIntoItAndPointlessDropsDoNothing) {
  CreateDirectoryA((dir / "right\\inner").c_str(), nullptr);
  right->Reload();
  RECT item;
  ListView_GetItemRect(right->GetListView(), IndexOf(right, "inner"), &item, LVIR_ICON);
  POINT center{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(right->GetListView(), &center);
  Drop(right, {Path("left\\a.txt")}, MK_LBUTTON, POINTL{center.x, center.y});
  EXPECT_EQ(Logical(), DWORD(DROPEFFECT_MOVE));
  EXPECT_TRUE(Exists(dir / "right\\inner\\a.txt"));

  Drop(right, {Path("right\\inner")}, MK_LBUTTON | MK_CONTROL, POINTL{center.x, center.y});
  EXPECT_EQ(Logical(), DWORD(DROPEFFECT_NONE)) << "a folder dropped onto itself";
  Drop(right, {Path("right\\inner")}, MK_LBUTTON, Empty(right));
  EXPECT_EQ(Logical(), DWORD(DROPEFFECT_NONE)) << "a move to where it is";
  EXPECT_EQ(ShownNames(right), (std::vector<std::string>{"inner"}));
  EXPECT_TRUE(Exists(dir / "right\\inner\\a.txt"));
}

TEST_F(FileViewDropTest, TheContainerAndTheDataCanRefuseADrop) {
  host.dragEffectLimit = 0;
  Drop(right, {Path("left\\a.txt")}, MK_LBUTTON, Empty(right));
  EXPECT_EQ(overEffect, DWORD(DROPEFFECT_NONE));
  host.dragEffectLimit = -1;
  host.cancelDrop = true;
  EXPECT_EQ(Drop(right, {Path("left\\a.txt")}, MK_LBUTTON, Empty(right)), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(Drop(right, {}, MK_LBUTTON, Empty(right)), DWORD(DROPEFFECT_NONE)) << "no files in the data";
  host.cancelDrop = false;
  EXPECT_EQ(Drop(right, {Path("left\\a.txt")}, MK_LBUTTON, Empty(right), DROPEFFECT_LINK), DWORD(DROPEFFECT_NONE));
  EXPECT_TRUE(Exists(dir / "left\\a.txt"));
  EXPECT_FALSE(Exists(dir / "right\\a.txt"));
}

namespace {
// Lets go of the right mouse button a moment after a drag began.
void CALLBACK ReleaseButton(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_RBUTTON] = 0;
  SetKeyboardState(keys);
}
}  // namespace

TEST_F(FileViewDropTest, ARightDragCarriesFilesFromOneViewToAnother) {
  ASSERT_TRUE(TakesDrops(right));
  SelectOnly(left, {IndexOf(left, "a.txt")});
  POINTL target = Empty(right);
  SetCursorPos(target.x, target.y);
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_RBUTTON] = 0x80;
  SetKeyboardState(keys);
  UINT_PTR release = SetTimer(nullptr, 0, 400, &ReleaseButton);
  MenuAnswerer answer('c');
  NMLISTVIEW begin{};
  begin.hdr = {left->GetListView(), CFileViewControl::kListId, UINT(LVN_BEGINRDRAG)};
  begin.iItem = 0;
  SendMessageA(left->GetSafeHwnd(), WM_NOTIFY, CFileViewControl::kListId, reinterpret_cast<LPARAM>(&begin));
  KillTimer(nullptr, release);
  EXPECT_TRUE(Exists(dir / "right\\a.txt"));
  EXPECT_TRUE(Exists(dir / "left\\a.txt"));
  auto dropped = host.Heard(25);
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0].source, DispatchOf(left)) << "the drop knows which view the files come from";
}

// The view registers for drops once it is painted (or at its first watch tick, unseen):
// another registration then finds the list taken.
TEST_F(FileViewDropTest, AViewOnScreenTakesDrops) { EXPECT_TRUE(TakesDrops(right)); }
