// The file view as the shell's own: names in any script, the Recycle Bin, the names the
// shell shows and its context menu.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "FileViewHost.h"
#include "ocx/fileview/FileClipboard.h"
#include "ocx/fileview/ShellMenu.h"
#include "ocx/fileview/WideText.h"
#include "tests/support/TestKit.h"

namespace {
class FileViewShellTest : public testing::Test {
 protected:
  FileViewShellTest() : dir("fileview-shell") {
    CreateDirectoryA((dir / "left").c_str(), nullptr);
    CreateDirectoryA((dir / "right").c_str(), nullptr);
  }
  std::wstring Path(const std::string& relative) const { return widetext::FromAnsi((dir / relative).c_str()); }
  CFileViewControl* View(int id, const std::string& folder) {
    CFileViewControl* view = host.AddView(id, "root=" + dir / folder + ";font=Tahoma");
    view->SetShellAsksBeforeRecycling(false);
    return view;
  }
  testkit::ScratchDir dir;
  ViewHost host;
};

void WriteWide(const std::wstring& path, const char* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text, DWORD(strlen(text)), &written, nullptr);
  CloseHandle(file);
}

std::string ReadWide(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  char buffer[256] = "";
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

bool ExistsWide(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ShownText(CFileViewControl* view, int index) {
  wchar_t text[MAX_PATH] = L"";
  LVITEMW item{};
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  SendMessageW(view->GetListView(), LVM_GETITEMTEXTW, WPARAM(index), LPARAM(&item));
  return text;
}

int IndexOfShown(CFileViewControl* view, const std::wstring& label) {
  int count = ListView_GetItemCount(view->GetListView());
  for (int i = 0; i < count; ++i)
    if (ShownText(view, i) == label) return i;
  return -1;
}

// Whether the Recycle Bin, as the shell lists it, holds an item of this name.
bool InRecycleBin(const std::wstring& name) {
  ITEMIDLIST* binPidl = nullptr;
  ComPtr<IShellFolder> desktop, bin;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &binPidl))) return false;
  bool found = false;
  if (SUCCEEDED(SHGetDesktopFolder(desktop.Receive())) &&
      SUCCEEDED(desktop->BindToObject(binPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(bin.Receive())))) {
    ComPtr<IEnumIDList> items;
    if (bin->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.Receive()) == S_OK) {
      ITEMIDLIST* child = nullptr;
      while (!found && items->Next(1, &child, nullptr) == S_OK) {
        STRRET text{};
        wchar_t shown[MAX_PATH] = L"";
        if (SUCCEEDED(bin->GetDisplayNameOf(child, SHGDN_NORMAL, &text)) &&
            SUCCEEDED(StrRetToBufW(&text, child, shown, MAX_PATH)))
          found = name == shown || name == std::wstring(shown) + L".txt";
        CoTaskMemFree(child);
      }
    }
  }
  CoTaskMemFree(binPidl);
  return found;
}

void TypeLabel(CFileViewControl* view, int index, const std::wstring& text) {
  SelectOnly(view, {index});
  PressKey(view, VK_F2);
  HWND edit = ListView_GetEditControl(view->GetListView());
  ASSERT_NE(edit, nullptr);
  SetWindowTextW(edit, text.c_str());
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  PumpUntilDone([] { return false; }, 20);
}
}  // namespace

TEST_F(FileViewShellTest, WideNamesSurviveListingRenameAndACopyPasteRoundTrip) {
  const std::wstring greek = L"\x0395\x03bb\x03bb\x03b7\x03bd\x03b9\x03ba\x03ac.txt";
  const std::wstring japanese = L"\x65e5\x672c\x8a9e.txt", cyrillic = L"\x041a\x0438\x0440.txt";
  WriteWide(Path("left\\") + greek, "greek");
  WriteWide(Path("left\\") + japanese, "japanese");
  CFileViewControl* left = View(1003, "left");
  ASSERT_GE(IndexOfShown(left, greek), 0);
  ASSERT_GE(IndexOfShown(left, japanese), 0);

  TypeLabel(left, IndexOfShown(left, japanese), cyrillic);
  EXPECT_EQ(ReadWide(Path("left\\") + cyrillic), "japanese");
  EXPECT_FALSE(ExistsWide(Path("left\\") + japanese));
  EXPECT_EQ(ListView_GetNextItem(left->GetListView(), -1, LVNI_SELECTED), IndexOfShown(left, cyrillic));

  CFileViewControl* right = View(1004, "right");
  SelectOnly(left, {IndexOfShown(left, greek), IndexOfShown(left, cyrillic)});
  PressKey(left, 'C', true);
  PressKey(right, 'V', true);
  EXPECT_EQ(ReadWide(Path("right\\") + greek), "greek");
  EXPECT_EQ(ReadWide(Path("right\\") + cyrillic), "japanese");
  ASSERT_TRUE(DeleteFileW((Path("left\\") + greek).c_str()));
  SelectOnly(right, {IndexOfShown(right, greek)});
  PressKey(right, 'X', true);
  PressKey(left, 'V', true);
  EXPECT_EQ(ReadWide(Path("left\\") + greek), "greek");
  EXPECT_FALSE(ExistsWide(Path("right\\") + greek)) << "a cut moves";
}

TEST_F(FileViewShellTest, DeleteRecyclesAndShiftDeleteDoesNot) {
  std::wstring stamp = std::to_wstring(GetTickCount());
  std::wstring kept = L"recycled-" + stamp + L".txt", gone = L"gone-" + stamp + L".txt";
  WriteWide(Path("left\\") + kept, "k");
  WriteWide(Path("left\\") + gone, "g");
  SetFileAttributesW((Path("left\\") + kept).c_str(), FILE_ATTRIBUTE_READONLY);
  CFileViewControl* view = View(1003, "left");

  SelectOnly(view, {IndexOfShown(view, kept)});
  PressKey(view, VK_DELETE);
  EXPECT_FALSE(ExistsWide(Path("left\\") + kept));
  EXPECT_TRUE(InRecycleBin(kept)) << "a Delete can be undone";

  SelectOnly(view, {IndexOfShown(view, gone)});
  {
    testkit::MessageBoxAnswerer answerer(IDYES);
    PressKey(view, VK_DELETE, false, true);
    ASSERT_EQ(answerer.Boxes().size(), 1u) << "asked once";
  }
  EXPECT_FALSE(ExistsWide(Path("left\\") + gone));
  EXPECT_FALSE(InRecycleBin(gone));
  EXPECT_TRUE(PumpUntilDone([&] { return ListView_GetItemCount(view->GetListView()) == 0; }, 3000));
}

namespace {
// The user's Explorer setting for the test's lifetime, and as it was afterwards.
class HideExtensions {
 public:
  explicit HideExtensions(DWORD hide) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    DWORD size = sizeof m_old;
    m_had = RegQueryValueExW(m_key, L"HideFileExt", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_old), &size) == 0;
    RegSetValueExW(m_key, L"HideFileExt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hide), sizeof hide);
  }
  ~HideExtensions() {
    if (m_had) RegSetValueExW(m_key, L"HideFileExt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old), sizeof m_old);
    else RegDeleteValueW(m_key, L"HideFileExt");
    RegCloseKey(m_key);
  }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  HKEY m_key = nullptr;
  DWORD m_old = 0;
  bool m_had = false;
};
}  // namespace

// A file type registered for the test's lifetime.
struct KnownType {
  KnownType() {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, ".tybtest", nullptr, REG_SZ, "tybtestfile", 12);
    RegSetKeyValueA(HKEY_CLASSES_ROOT, "tybtestfile", nullptr, REG_SZ, "Test file", 10);
  }
  ~KnownType() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tybtest");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "tybtestfile");
  }
};

TEST_F(FileViewShellTest, LabelsAreTheShellsNamesAndARenameKeepsTheHiddenExtension) {
  KnownType known;
  for (const char* name : {"b.tybtest", "Caf\xe9.lnk", "site.url", "old.pif", "notes.zzq", "a.b.tybtest"})
    WriteWide(Path("left\\") + widetext::FromAnsi(name), "x");
  CreateDirectoryA((dir / "left\\dir.tybtest").c_str(), nullptr);
  {
    HideExtensions shown(0);
    CFileViewControl* view = View(1003, "left");
    EXPECT_EQ(ShownNames(view), (std::vector<std::string>{"dir.tybtest", "a.b.tybtest", "b.tybtest", "Caf\xe9",
                                                           "notes.zzq", "old", "site"}));
  }
  HideExtensions hidden(1);
  CFileViewControl* view = View(1004, "left");
  EXPECT_EQ(ShownNames(view),
            (std::vector<std::string>{"dir.tybtest", "a.b", "b", "Caf\xe9", "notes.zzq", "old", "site"}))
      << "sorted on what shows";
  TypeLabel(view, IndexOfShown(view, L"b"), L"\x03b2");
  EXPECT_EQ(ReadWide(Path("left\\") + L"\x03b2.tybtest"), "x") << "a beta, not the code page's nearest letter";
  TypeLabel(view, IndexOfShown(view, L"site"), L"web");
  EXPECT_TRUE(ExistsWide(Path("left\\web.url")));
  TypeLabel(view, IndexOfShown(view, L"dir.tybtest"), L"folder");
  EXPECT_TRUE(ExistsWide(Path("left\\folder")));
}

TEST_F(FileViewShellTest, TheShellsMenuVerbsReachTheShellAndRenameAndDeleteTheView) {
  WriteWide(Path("left\\a.txt"), "a");
  WriteWide(Path("left\\") + L"\x0416.txt", "b");
  CFileViewControl* view = View(1003, "left");
  POINT nowhere{0, 0};
  SelectOnly(view, {IndexOfShown(view, L"\x0416.txt")});
  {
    CShellMenu menu;
    ASSERT_TRUE(view->BuildMenu(&menu, true));
    UINT copy = menu.CommandOf(L"copy");
    ASSERT_NE(copy, 0u);
    view->RunMenuCommand(menu, copy, nowhere);
    DWORD effect = 0;
    EXPECT_EQ(fileclipboard::Get(nullptr, &effect), (std::vector<std::wstring>{Path("left\\") + L"\x0416.txt"}));
  }
  {
    CShellMenu menu;
    ASSERT_TRUE(view->BuildMenu(&menu, true));
    view->RunMenuCommand(menu, menu.CommandOf(L"rename"), nowhere);
    EXPECT_NE(ListView_GetEditControl(view->GetListView()), nullptr) << "the view's own label edit";
    SendMessageW(ListView_GetEditControl(view->GetListView()), WM_KEYDOWN, VK_ESCAPE, 1);
  }
  {
    CShellMenu menu;
    ASSERT_TRUE(view->BuildMenu(&menu, true));
    view->RunMenuCommand(menu, menu.CommandOf(L"delete"), nowhere);
    EXPECT_FALSE(ExistsWide(Path("left\\") + L"\x0416.txt"));
    EXPECT_TRUE(InRecycleBin(L"\x0416.txt")) << "the view's own delete, to the Recycle Bin";
  }
  CShellMenu background;
  EXPECT_TRUE(view->BuildMenu(&background, false));
  EXPECT_GT(GetMenuItemCount(background.Menu()), 0);
}

TEST_F(FileViewShellTest, FilesAddedWhileShownGetPlacesOfTheirOwn) {
  for (int i = 0; i < 9; ++i) WriteWide(Path("left\\") + L"old" + std::to_wstring(i) + L".txt", "o");
  CFileViewControl* view = View(1003, "left");
  ASSERT_EQ(ListView_GetItemCount(view->GetListView()), 9);
  for (int i = 0; i < 3; ++i) WriteWide(Path("left\\") + L"new" + std::to_wstring(i) + L".txt", "n");
  ASSERT_TRUE(PumpUntilDone([&] { return ListView_GetItemCount(view->GetListView()) == 12; }, 5000));
  PumpUntilDone([] { return false; }, 50);
  std::vector<std::pair<LONG, LONG>> places;
  for (int i = 0; i < 12; ++i) {
    POINT at{};
    ListView_GetItemPosition(view->GetListView(), i, &at);
    for (const auto& place : places) EXPECT_FALSE(place.first == at.x && place.second == at.y) << "item " << i;
    places.emplace_back(at.x, at.y);
  }
}

TEST_F(FileViewShellTest, HoveringAnItemGivesItsTip) {
  WriteWide(Path("left\\") + L"\x0416 notes.txt", "12345");
  CFileViewControl* view = View(1003, "left");
  std::wstring shown = view->GetItemTip(0);
  EXPECT_EQ(shown.substr(0, 11), L"\x0416 notes.txt");
  EXPECT_NE(shown.find(L"5 bytes"), std::wstring::npos) << widetext::ToAnsi(shown).GetString();
  EXPECT_NE(shown.find(L"Type"), std::wstring::npos);
}
