// The playlist editor: its opening from the bar, the list's colours, gathering a folder's
// tracks typed and browsed, Clear, Save, and the bar playing what was saved.
#include "media/PlaylistDlg.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/FileNames.h"
#include "media/PlaylistFile.h"
#include "ocx/playlist/PlaylistControl.h"
#include "ocx/playlist/PlaylistEncoding.h"
#include "tests/app/MainBarFixture.h"

using namespace bartest;

namespace {
using Paths = std::vector<std::string>;

class PlaylistEditor : public testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\tyb", nullptr);
    for (const char* name : {"b.mp3", "a.MP3", "notes.txt"}) testkit::WriteTextFile(music / name, "x");
    ASSERT_TRUE(editor.Create(IDD_PLAYLIST));
  }
  void TearDown() override {
    editor.DestroyWindow();
    DeleteFileA(playlist::kPath);
  }
  CPlaylistControl& List() {
    return *static_cast<CPlaylistControl*>(CWnd::FromHandlePermanent(editor.GetDlgItem(IDC_PLAYLIST_LIST)));
  }
  void Click(int id) { RaiseControlEvent(editor.GetDlgItem(id), DISPID_CLICK); }
  Paths InMusic(const Paths& names) {
    Paths paths;
    for (const std::string& name : names) paths.push_back(music / name);
    return paths;
  }

  testkit::ScratchDir music{"editor-music"};
  CPlaylistDlg editor;
};

// Answers the shell's folder browser, when it comes up, with Cancel.
void CALLBACK CancelTheFolderBrowser(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND browser = FindWindowA("#32770", "Browse for Folder");
  if (!browser) return;
  KillTimer(nullptr, timer);
  PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(PlaylistEditor, OpensEmptyInTheBarsColoursWhateverThePlaylistFileHolds) {
  testkit::WriteTextFile(playlist::kPath, music / "a.MP3" + "\r\n");
  editor.DestroyWindow();
  ASSERT_TRUE(editor.Create(IDD_PLAYLIST));
  char title[64] = {};
  GetWindowTextA(editor.m_hWnd, title, sizeof title);
  EXPECT_STREQ(title, "TYB Playlist Editor");
  EXPECT_TRUE(List().Entries().empty()) << "only Load reads a list in";
  EXPECT_EQ(List().RowColour(0), RGB(1, 0, 0));
  EXPECT_EQ(List().RowColour(1), RGB(1, 0, 0));
  EXPECT_EQ(List().TextColour(), RGB(44, 255, 9));
}

TEST_F(PlaylistEditor, SearchAddsTheTypedFoldersTracksAndSaveWritesThemForTheBar) {
  editor.m_folderEdit.SetWindowText(music.path.c_str());
  Click(IDC_PLAYLIST_SEARCH);
  EXPECT_EQ(List().Entries(), InMusic({"a.MP3", "b.mp3"}));
  Click(IDC_PLAYLIST_SAVE);
  EXPECT_EQ(playlist::ReadEntries(playlist::kPath), InMusic({"a.MP3", "b.mp3"}));
  Click(IDC_PLAYLIST_CLEAR);
  EXPECT_TRUE(List().Entries().empty());
  editor.m_folderEdit.SetWindowText("C:\\no such folder");
  Click(IDC_PLAYLIST_SEARCH);
  EXPECT_TRUE(List().Entries().empty());
}

TEST_F(PlaylistEditor, ABrowseThatIsCancelledChangesNothing) {
  editor.m_folderEdit.SetWindowText(music.path.c_str());
  Click(IDC_PLAYLIST_SEARCH);
  editor.m_folderEdit.SetWindowText("typed");
  SetTimer(nullptr, 0, 50, CancelTheFolderBrowser);
  Click(IDC_PLAYLIST_BROWSE);
  EXPECT_EQ(editor.m_folderEdit.GetWindowText(), "typed");
  EXPECT_EQ(List().Entries(), InMusic({"a.MP3", "b.mp3"}));
}

// A folder the code page cannot name, chosen in the shell's browser, is searched all the same.
std::wstring g_chosenFolder;
// The browser's tree shows the item named `name` as chosen (a browser without a tree passes).
bool BrowserShows(HWND browser, const wchar_t* name) {
  HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
  if (!tree) return true;
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetSelection(tree);
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  return item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) && lstrcmpW(text, name) == 0;
}

// Chooses g_chosenFolder once the browser has filled its tree and shows it chosen: chosen
// too early, the browser still settles on its own start folder.
void CALLBACK ChooseInTheFolderBrowser(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND browser = FindWindowA("#32770", "Browse for Folder");
  if (!browser) return;
  SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(g_chosenFolder.c_str()));
  if (!BrowserShows(browser, L"\u65e5\u672c")) return;
  KillTimer(nullptr, timer);
  PostMessageA(browser, WM_COMMAND, IDOK, 0);
}

TEST_F(PlaylistEditor, BrowseSearchesAFolderTheCodePageCannotName) {
  g_chosenFolder = filenames::FromCodePage(music.path) + L"\\\u65e5\u672c";
  CreateDirectoryW(g_chosenFolder.c_str(), nullptr);
  testkit::WriteTextFile(g_chosenFolder + L"\\\u6b4c.mp3", "x");
  SetTimer(nullptr, 0, 50, ChooseInTheFolderBrowser);
  Click(IDC_PLAYLIST_BROWSE);
  ASSERT_EQ(List().Entries().size(), 1u) << editor.m_folderEdit.GetWindowText().GetString();
  EXPECT_EQ(playlist::ShownName(List().Entries()[0]), L"\u6b4c.mp3");
  EXPECT_NE(GetFileAttributesW(filenames::OnDisk(List().Entries()[0]).c_str()), INVALID_FILE_ATTRIBUTES);
}

// The PlayList button runs the editor modally, owned by the bar; what it saves, the bar's
// playlist button then plays.
class EditorFromTheBar : public MainBar {
 protected:
  static void CALLBACK SaveAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = FindWindowA("#32770", "TYB Playlist Editor");
    if (!window) return;
    KillTimer(nullptr, timer);
    seen.owner = GetWindow(window, GW_OWNER);
    seen.barEnabled = IsWindowEnabled(seen.owner);
    SetDlgItemTextA(window, IDC_PLAYLIST_FOLDER, folder.c_str());
    RaiseControlEvent(GetDlgItem(window, IDC_PLAYLIST_SEARCH), DISPID_CLICK);
    RaiseControlEvent(GetDlgItem(window, IDC_PLAYLIST_SAVE), DISPID_CLICK);
    RaiseControlEvent(GetDlgItem(window, IDC_PLAYLIST_CLOSE), DISPID_CLICK);
  }
  struct Seen {
    HWND owner;
    BOOL barEnabled;
  };
  static inline Seen seen{nullptr, TRUE};
  static inline std::string folder;
};

TEST_F(EditorFromTheBar, ThePlayListButtonRunsItModallyAndTheBarPlaysWhatItSaved) {
  testkit::ScratchDir tracks("editor-tracks");
  testkit::WriteTextFile(tracks / "1 silent.mp3", "not a track");
  testkit::WriteTextFile(tracks / "2 silent.mp3", "not one either");
  folder = tracks.path;
  CreateDirectoryA("C:\\tyb", nullptr);
  Start();
  BarAsMainWindow app(&bar);
  SetTimer(nullptr, 0, 50, SaveAndClose);
  ClickButton(bar, IDC_PLAYLIST);
  EXPECT_EQ(seen.owner, bar.m_hWnd);
  EXPECT_FALSE(seen.barEnabled) << "the bar waits while the editor is open";
  EXPECT_TRUE(IsWindowEnabled(bar.m_hWnd));
  EXPECT_EQ(FindWindowA("#32770", "TYB Playlist Editor"), nullptr);
  ClickButton(bar, IDC_PLAY_PLAYLIST);
  EXPECT_EQ(bar.m_sequencer.Playlist(), (Paths{tracks / "1 silent.mp3", tracks / "2 silent.mp3"}));
  testkit::Pump(300);
  DeleteFileA(playlist::kPath);
}
}  // namespace
