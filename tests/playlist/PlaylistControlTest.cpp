// The playlist control in a dialog, driven through its wrapper as the playlist editor does,
// and by the user: Delete, dragging, dropping files, and the load dialog.
#include "ocx/playlist/PlaylistControl.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "framework/Dialog.h"
#include "framework/FileNames.h"
#include "hosted/Playlistctrl1.h"
#include "media/PlaylistFile.h"
#include "ocx/playlist/PlaylistEncoding.h"
#include "res/resource.h"
#include "tests/playlist/PlaylistTestIds.h"
#include "tests/support/TestKit.h"

namespace {
struct Registered {
  // Before the test program registers its placeholder classes.
  Registered() { CHostedControl::RegisterControlClass<CPlaylistControl>(CLSID_CLASS_PLAYLIST); }
} g_registered;

using Paths = std::vector<std::string>;

class Editor : public CDialog {
 public:
  Editor() : CDialog(IDD_PLAYLIST_HOST) {}
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_PLAIN_PLAYLIST, list); }
  CPlaylistControl& Control(int id = IDC_PLAIN_PLAYLIST) {
    return *static_cast<CPlaylistControl*>(CWnd::FromHandlePermanent(GetDlgItem(id)));
  }
  CPlaylistctrl1 list;
};

class PlaylistControl : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(editor.Create(IDD_PLAYLIST_HOST));
    for (const char* name : {"Track 10.MP3", "track 2.mp3", "a.Mp3", "notes.txt", "cover.jpg"})
      testkit::WriteTextFile(music / name, "x");
    CreateDirectoryA((music / "sub").c_str(), nullptr);
    CreateDirectoryA((music / "folder.mp3").c_str(), nullptr);
    testkit::WriteTextFile(music / "sub\\deeper.mp3", "x");
  }
  void TearDown() override { editor.DestroyWindow(); }
  Paths Entries() { return editor.Control().Entries(); }
  Paths InMusic(const Paths& names) {
    Paths paths;
    for (const std::string& name : names) paths.push_back(music / name);
    return paths;
  }
  int ItemCentreY(int index) {
    RECT item;
    SendMessageA(editor.Control().List(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    return (item.top + item.bottom) / 2;
  }

  Editor editor;
  testkit::ScratchDir music{"playlist-music"};
};

// An HDROP as the shell hands one over, for `paths`.
HDROP DropOf(const Paths& paths) {
  std::string list;
  for (const std::string& path : paths) list += path + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}
}  // namespace

TEST_F(PlaylistControl, AddsAFoldersOwnMatchingFilesInNameOrder) {
  EXPECT_EQ(editor.list.AddFolderFiles(".mp3", music.path.c_str()), 3);
  EXPECT_EQ(Entries(), InMusic({"a.Mp3", "track 2.mp3", "Track 10.MP3"}));
  EXPECT_EQ(editor.list.AddFolderFiles("MP3", (music.path + "\\").c_str()), 3) << "added again, after";
  EXPECT_EQ(Entries().size(), 6u);
  editor.list.ClearList();
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(editor.list.AddFolderFiles(".jpg", music.path.c_str()), 1);
  EXPECT_EQ(editor.list.AddFolderFiles(".mp3", (music / "missing").c_str()), 0);
  EXPECT_EQ(editor.list.AddFolderFiles(".mp3", ""), 0);
  EXPECT_EQ(editor.list.AddFolderFiles(".wav", music.path.c_str()), 0);
  EXPECT_EQ(Entries(), InMusic({"cover.jpg"}));
}

TEST_F(PlaylistControl, SavesFullPathsWithCrLfAndLoadsThemBack) {
  editor.list.AddFolderFiles(".mp3", music.path.c_str());
  std::string file = music / "list.m3u";
  ASSERT_TRUE(editor.list.SaveList(file.c_str()));
  Paths saved = InMusic({"a.Mp3", "track 2.mp3", "Track 10.MP3"});
  EXPECT_EQ(testkit::ReadTextFile(file), saved[0] + "\r\n" + saved[1] + "\r\n" + saved[2] + "\r\n");
  editor.list.ClearList();
  ASSERT_TRUE(editor.list.LoadList(file.c_str()));
  EXPECT_EQ(Entries(), saved);
  ASSERT_TRUE(editor.list.LoadList(file.c_str()));
  EXPECT_EQ(Entries(), saved) << "a load replaces the list";
  editor.list.ClearList();
  ASSERT_TRUE(editor.list.SaveList(file.c_str()));
  EXPECT_EQ(testkit::ReadTextFile(file), "") << "an empty list saves an empty file";
}

TEST_F(PlaylistControl, ASaveThatFailsKeepsTheOldFile) {
  editor.list.AddFolderFiles(".mp3", music.path.c_str());
  std::string file = music / "locked.m3u";
  testkit::WriteTextFile(file, "C:\\old.mp3\r\n");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(editor.list.SaveList(file.c_str()));
  EXPECT_EQ(testkit::ReadTextFile(file), "C:\\old.mp3\r\n");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(editor.list.SaveList((music / "missing\\list.m3u").c_str()));
  EXPECT_FALSE(editor.list.SaveList((music / "sub").c_str()));
  EXPECT_FALSE(editor.list.SaveList(""));
  EXPECT_EQ(Entries().size(), 3u) << "the list is kept";
}

TEST_F(PlaylistControl, LoadsPlaylistsThatOtherPlayersWrote) {
  std::string file = music / "sub\\other.m3u";
  testkit::WriteTextFile(file,
                         "#EXTM3U\r\n#EXTINF:215,Artist - Title\r\ndeeper.mp3\n\n  ..\\a.Mp3  \r\n"
                         "D:\\abs\\c.mp3\n\\\\server\\share\\d.mp3\nhttp://radio.example/e.mp3");
  ASSERT_TRUE(editor.list.LoadList(file.c_str()));
  EXPECT_EQ(Entries(), (Paths{music / "sub\\deeper.mp3", music / "a.Mp3", "D:\\abs\\c.mp3", "\\\\server\\share\\d.mp3",
                              "http://radio.example/e.mp3"}));
  // UTF-8 (M3U8) comes out in the ANSI code page.
  wchar_t accented[] = L"caf\u00e9.mp3";
  char ansi[32] = {0};
  WideCharToMultiByte(CP_ACP, 0, accented, -1, ansi, sizeof ansi, nullptr, nullptr);
  testkit::WriteTextFile(music / "utf8.m3u8", "C:\\caf\xC3\xA9.mp3\r\n");
  ASSERT_TRUE(editor.list.LoadList((music / "utf8.m3u8").c_str()));
  EXPECT_EQ(Entries(), (Paths{std::string("C:\\") + ansi}));
}

TEST_F(PlaylistControl, LinesThatNameNoFileAreLeftOutAndPathsAreTidied) {
  std::string file = music / "damaged.m3u";
  testkit::WriteTextFile(file, std::string("\0\0\0\0\r\n", 6) + std::string("C:\\music\\a\0b.mp3\r\n", 18) +
                                   ".\r\nC:/music/c.mp3\r\nC:\\music\\.\\d.mp3\r\nC:\\music\\sub\\..\\e.mp3\r\n");
  ASSERT_TRUE(editor.list.LoadList(file.c_str()));
  EXPECT_EQ(Entries(), (Paths{"C:\\music\\c.mp3", "C:\\music\\d.mp3", "C:\\music\\e.mp3"}))
      << "neither the playlist's folder nor a path cut short at a NUL";
}

// Counts what is sent to one window while it lives.
class MessageCounter {
 public:
  explicit MessageCounter(HWND window) : m_window(window) {
    s_self = this;
    m_hook = SetWindowsHookExA(WH_CALLWNDPROC, &MessageCounter::Hook, nullptr, GetCurrentThreadId());
  }
  ~MessageCounter() {
    UnhookWindowsHookEx(m_hook);
    s_self = nullptr;
  }
  int count = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && s_self && reinterpret_cast<CWPSTRUCT*>(lParam)->hwnd == s_self->m_window) ++s_self->count;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static MessageCounter* s_self;
  HWND m_window;
  HHOOK m_hook;
};
MessageCounter* MessageCounter::s_self = nullptr;

// A long list is handed to the list box whole, not entry by entry, both ways.
TEST_F(PlaylistControl, AHundredThousandEntriesLoadAndSaveWithoutAMessageEach) {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += "C:\\music\\Album " + std::to_string(i / 20) + "\\" + std::to_string(i) + ".mp3\r\n";
  std::string file = music / "long.m3u", copy = music / "copy.m3u";
  testkit::WriteTextFile(file, text);
  HWND list = editor.Control().List();
  {
    MessageCounter sent(list);
    ASSERT_TRUE(editor.list.LoadList(file.c_str()));
    EXPECT_LT(sent.count, 100) << "messages to the list box while loading";
  }
  ASSERT_EQ(Entries().size(), 100000u);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 100000);
  EXPECT_EQ(Entries().back(), "C:\\music\\Album 4999\\99999.mp3");
  {
    MessageCounter sent(list);
    ASSERT_TRUE(editor.list.SaveList(copy.c_str()));
    EXPECT_LT(sent.count, 100) << "messages to the list box while saving";
  }
  EXPECT_TRUE(testkit::ReadTextFile(copy) == text) << "saved as loaded";
  SendMessageA(list, LB_SETCURSEL, 99999, 0);
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  ASSERT_TRUE(editor.list.SaveList(copy.c_str()));
  EXPECT_TRUE(testkit::ReadTextFile(copy) ==
              text.substr(0, text.size() - strlen("C:\\music\\Album 4999\\99999.mp3\r\n")));
}

TEST_F(PlaylistControl, LoadingWhatIsNotThereChangesNothing) {
  editor.list.AddFolderFiles(".mp3", music.path.c_str());
  EXPECT_FALSE(editor.list.LoadList((music / "missing.m3u").c_str()));
  EXPECT_FALSE(editor.list.LoadList((music / "sub").c_str()));
  EXPECT_EQ(Entries().size(), 3u);
}

TEST_F(PlaylistControl, LoadWithNoPathAsksForTheFileStartingInTyb) {
  CreateDirectoryA("C:\\tyb", nullptr);
  testkit::WriteTextFile("C:\\tyb\\tyb-test.m3u", "C:\\tyb\\one.mp3\r\ntwo.mp3\r\n");
  {
    testkit::OpenDialogAnswerer answer(L"tyb-test.m3u");
    EXPECT_TRUE(editor.list.LoadList(""));
    EXPECT_TRUE(answer.answered);
    EXPECT_STREQ(answer.startFolder.c_str(), "C:\\tyb");
  }
  EXPECT_EQ(Entries(), (Paths{"C:\\tyb\\one.mp3", "C:\\tyb\\two.mp3"}));
  {
    testkit::OpenDialogAnswerer cancel(L"");
    EXPECT_FALSE(editor.list.LoadList(""));
    EXPECT_TRUE(cancel.answered);
  }
  EXPECT_EQ(Entries().size(), 2u) << "a cancelled load keeps the list";
  DeleteFileA("C:\\tyb\\tyb-test.m3u");
}

TEST_F(PlaylistControl, DeleteRemovesTheSelectedEntry) {
  editor.list.AddFolderFiles(".mp3", music.path.c_str());
  HWND list = editor.Control().List();
  editor.ShowWindow(SW_SHOW);
  SetFocus(editor.Control().m_hWnd);
  EXPECT_EQ(GetFocus(), list) << "the keyboard goes to the list";
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Entries(), InMusic({"a.Mp3", "Track 10.MP3"}));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the next entry is selected";
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(Entries().empty());
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);  // nothing left to delete
  EXPECT_TRUE(Entries().empty());
}

TEST_F(PlaylistControl, DraggingAnEntryMovesIt) {
  editor.list.AddFolderFiles(".mp3", music.path.c_str());
  editor.list.AddFolderFiles(".jpg", music.path.c_str());
  HWND list = editor.Control().List();
  UINT message = RegisterWindowMessageA(DRAGLISTMSGSTRING);
  auto drag = [&](UINT what, int item) {
    DRAGLISTINFO info{what, list, {10, ItemCentreY(item)}};
    ClientToScreen(list, &info.ptCursor);
    return SendMessageA(editor.Control().m_hWnd, message, IDC_PLAIN_PLAYLIST, reinterpret_cast<LPARAM>(&info));
  };
  EXPECT_TRUE(drag(DL_BEGINDRAG, 0));
  EXPECT_EQ(drag(DL_DRAGGING, 1), DL_MOVECURSOR);
  EXPECT_EQ(drag(DL_DRAGGING, 2), DL_MOVECURSOR);
  drag(DL_DROPPED, 2);
  EXPECT_EQ(Entries(), InMusic({"track 2.mp3", "Track 10.MP3", "a.Mp3", "cover.jpg"}));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  drag(DL_DRAGGING, 0);  // after the drop nothing follows the pointer
  EXPECT_EQ(Entries()[2], music / "a.Mp3");
}

TEST_F(PlaylistControl, DroppedFilesAndFoldersAreAdded) {
  editor.list.AddFolderFiles(".mp3", (music / "sub").c_str());
  SendMessageA(editor.Control().m_hWnd, WM_DROPFILES,
               reinterpret_cast<WPARAM>(DropOf({music / "notes.txt", music / "a.Mp3", music / "sub"})), 0);
  EXPECT_EQ(Entries(), InMusic({"sub\\deeper.mp3", "a.Mp3", "sub\\deeper.mp3"}));
}

TEST_F(PlaylistControl, RowsShowTheColoursTheContainerSets) {
  editor.list.AddFolderFiles(".mp3", music.path.c_str());
  HWND list = editor.Control().List();
  auto render = [&](MemoryDc& dc, BitmapHandle& bitmap) {
    WindowDc screen(list);
    RECT client;
    GetClientRect(list, &client);
    dc.Reset(CreateCompatibleDC(screen.Get()));
    bitmap.Reset(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectObject(dc.Get(), bitmap.Get());
    SendMessageA(list, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  };
  editor.list.SetBackColorRgb(1, 0, 0);
  editor.list.SetForeColorRgb(44, 255, 9);
  {
    MemoryDc dc;
    BitmapHandle bitmap;
    render(dc, bitmap);
    EXPECT_EQ(testkit::Pixel(dc.Get(), 1, ItemCentreY(0)), RGB(1, 0, 0));
    EXPECT_EQ(testkit::Pixel(dc.Get(), 1, ItemCentreY(1)), RGB(1, 0, 0)) << "one background until a second is set";
    EXPECT_EQ(testkit::Pixel(dc.Get(), 1, ItemCentreY(2) + 60), RGB(1, 0, 0)) << "below the entries";
  }
  editor.list.SetBackColorRgb2(0, 0, 300);
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  MemoryDc dc;
  BitmapHandle bitmap;
  render(dc, bitmap);
  EXPECT_EQ(testkit::Pixel(dc.Get(), 1, ItemCentreY(0)), RGB(1, 0, 0));
  EXPECT_EQ(testkit::Pixel(dc.Get(), 1, ItemCentreY(1)), RGB(0, 0, 255)) << "every second row, clamped";
  EXPECT_EQ(testkit::Pixel(dc.Get(), 1, ItemCentreY(2)), RGB(44, 255, 9)) << "the selection in the text colour";
  bool textSeen = false;
  for (int x = 3; x < 40 && !textSeen; ++x) textSeen = testkit::Pixel(dc.Get(), x, ItemCentreY(0)) != RGB(1, 0, 0);
  EXPECT_TRUE(textSeen) << "the name is drawn";
  CPlaylistControl& stored = editor.Control(IDC_COLOURED_PLAYLIST);
  EXPECT_EQ(stored.RowColour(1), RGB(255, 255, 0)) << "from the template";
  EXPECT_EQ(stored.TextColour(), RGB(255, 0, 0));
}

// Names outside the code page go round: listed by their real names, saved so that the bar's
// 8-bit reader gets lines the player opens, and loaded back from players' UTF-8 lists.
TEST_F(PlaylistControl, NamesOutsideTheCodePageGoThroughSearchSaveTheBarsReaderAndLoad) {
  if (GetACP() != 1252) GTEST_SKIP() << "the saved bytes below are those of code page 1252";
  testkit::ScratchDir songs("playlist-songs");
  std::wstring folder = filenames::FromCodePage(songs.path) + L"\\", song = L"\u65e5\u672c\u306e\u6b4c.mp3";
  for (const std::wstring& name : {std::wstring(L"caf\u00e9.mp3"), song, std::wstring(L"plain.mp3")})
    testkit::WriteTextFile(folder + name, "x");
  std::string songUtf8 = songs / "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C.mp3";
  Paths kept = {songs / "caf\xE9.mp3", songs / "plain.mp3", songUtf8};
  editor.list.AddFolderFiles(".mp3", songs.path.c_str());
  ASSERT_EQ(Entries(), kept);
  EXPECT_EQ(playlist::ShownName(songUtf8), song);
  std::string file = songs / "list.m3u";
  ASSERT_TRUE(editor.list.SaveList(file.c_str()));
  EXPECT_EQ(testkit::ReadTextFile(file), kept[0] + "\r\n" + kept[1] + "\r\n" + kept[2] + "\r\n");
  ASSERT_EQ(playlist::ReadEntries(file), kept);
  for (const std::string& line : kept)
    EXPECT_NE(GetFileAttributesW(filenames::OnDisk(line).c_str()), INVALID_FILE_ATTRIBUTES) << line;
  // A list in UTF-8 with a mark, from another player, relative lines and all.
  std::wstring text = L"#EXTM3U\r\n" + folder + L"plain.mp3\r\n" + song + L"\r\ncaf\u00e9.mp3\r\n";
  testkit::WriteTextFile(songs / "list.m3u8", "\xEF\xBB\xBF" + filenames::ToUtf8(text));
  ASSERT_TRUE(editor.list.LoadList((songs / "list.m3u8").c_str()));
  EXPECT_EQ(Entries(), (Paths{kept[1], kept[2], kept[0]}));
}
