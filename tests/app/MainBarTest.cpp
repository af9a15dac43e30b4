// The bar as a window: start-up with and without settings, placement, dragging, timers,
// the tray icon's part in start-up, and how the bar ends.
#include "app/MainBarDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <olectl.h>
#include <psapi.h>

#include <climits>
#include <string>
#include <vector>

#include "fileops/StartupShortcut.h"
#include "framework/ControlEvents.h"
#include "framework/WinApp.h"
#include "notes/HelpDlg.h"
#include "notes/NoteDlg.h"
#include "notes/NoteFile.h"
#include "notes/NoteRecord.h"
#include "ocx/fileview/IconWarmUp.h"
#include "res/resource.h"
#include "selectors/SelectorDlg.h"
#include "settings/RegistryStore.h"
#include "tests/app/MainBarFixture.h"
#include "tests/support/TestKit.h"
#include "tray/SystemTray.h"

using namespace bartest;

TEST_F(MainBar, WithoutSettingsItStaysAtItsTemplatePlaceWithDefaults) {
  ExpectTemplatePlace(Start());
  EXPECT_EQ(bar.initResult, TRUE);
  EXPECT_EQ(bar.m_selectorCloseMs, 10000);
  EXPECT_NE(bar.GetBackground(), nullptr);
  EXPECT_EQ(bar.GetDrawMode(), CBitmapDialog::kCentre);
  EXPECT_EQ(reinterpret_cast<HICON>(bar.SendMessage(WM_GETICON, ICON_BIG)),
            LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
}

TEST_F(MainBar, TheClockRunsAndTheVolumeSliderStartsAtAQuarter) {
  Start();
  char text[32] = {0};
  GetDlgItemTextA(bar.m_hWnd, IDC_CLOCK, text, sizeof text);
  EXPECT_STRNE(text, "Static");
  EXPECT_NE(std::string(text).find(':'), std::string::npos) << text;
  LONG style = GetWindowLongA(bar.GetDlgItem(IDC_CLOCK), GWL_STYLE);
  EXPECT_EQ(style & (WS_GROUP | SS_CENTERIMAGE), WS_GROUP | SS_CENTERIMAGE);
  EXPECT_EQ(style & SS_TYPEMASK, SS_CENTER);
  HWND volume = bar.GetDlgItem(IDC_VOLUME_SLIDER);
  EXPECT_EQ(SendMessageA(volume, TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendMessageA(volume, TBM_GETRANGEMAX, 0, 0), 100);
  EXPECT_EQ(SendMessageA(volume, TBM_GETPOS, 0, 0), 25);
}

TEST_F(MainBar, TheStartupShortcutFollowsLoadstartupAtEachStart) {
  CreateDirectoryA("C:\\tyb", nullptr);
  testkit::WriteTextFile(kStartupShortcutSource, "link");
  std::string installed = std::string(CommonStartupFolder()) + "\\Shortcuttotyb.exe.lnk";
  DeleteFileA(installed.c_str());
  Start();  // absent: left alone
  EXPECT_EQ(GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES);
  bar.DestroyWindow();
  Setting("loadstartup", 1);
  Start();
  EXPECT_EQ(testkit::ReadTextFile(installed), "link");
  bar.DestroyWindow();
  Setting("loadstartup", 2);
  Start();
  EXPECT_NE(GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES);
  bar.DestroyWindow();
  Setting("loadstartup", 0);
  Start();
  EXPECT_EQ(GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(kStartupShortcutSource);
}

TEST_F(MainBar, SettingsPlaceTheBarAndOnlyExactOnesCount) {
  Setting("loadbottom", 1);
  ExpectRect(Start(), 14, 654, 989, 97);
  bar.DestroyWindow();
  settings.Wipe();
  Setting("hidecpu", 1);
  Setting("hidemp3", 1);
  ExpectRect(Start(), 220, 0, 581, 97);
  bar.DestroyWindow();
  settings.Wipe();
  Setting("hidememory", 1);
  Setting("loadbottom", 0);
  ExpectRect(Start(), 80, 0, 862, 97);
  bar.DestroyWindow();
  settings.Wipe();
  Setting("loadbottom", 2);
  Setting("hidemp3", -1);
  ExpectTemplatePlace(Start());
}

TEST_F(MainBar, SelectorLifetimeIsSeltimeSecondsWithinTimerLimits) {
  const std::pair<int, int> cases[] = {{5, 5000}, {0, 0}, {3000000, INT_MAX}, {-4, 0}};
  for (auto [seconds, ms] : cases) {
    Setting("seltime", seconds);
    Start();
    EXPECT_EQ(bar.m_selectorCloseMs, ms) << seconds;
    bar.DestroyWindow();
  }
}

TEST_F(MainBar, SettingsOfTheWrongTypeOrSizeAreIgnored) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Farrowind\\tyb\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "loadbottom", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
  RegSetValueExA(key, "seltime", 0, REG_SZ, reinterpret_cast<const BYTE*>("twelve"), 7);
  const BYTE huge[16] = {1};
  RegSetValueExA(key, "hidemp3", 0, REG_BINARY, huge, sizeof huge);
  RegCloseKey(key);
  ExpectTemplatePlace(Start());
  EXPECT_EQ(bar.m_selectorCloseMs, 10000);
}

TEST_F(MainBar, TheBarDragsFromFreeSpotsAndTheClockButNotFromItsControls) {
  Start();
  RECT client;
  bar.GetClientRect(&client);
  bar.ClientToScreen(&client);
  LPARAM freeSpot = MAKELPARAM(client.left + 60, client.bottom - 2);
  EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, freeSpot), HTCAPTION);
  EXPECT_NE(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.left - 1, client.top - 1)), HTCAPTION);

  POINT clock = CentreOf(bar.GetDlgItem(IDC_CLOCK));
  EXPECT_EQ(WindowFromPoint(clock), bar.m_hWnd) << "the clock lets presses through to the bar";
  for (int id : {IDC_PHOTOS, IDC_CLOSE_BAR, IDC_VOLUME_SLIDER, IDC_SEEK_SLIDER, IDC_TIME_DISPLAY}) {
    HWND control = bar.GetDlgItem(id);
    EXPECT_EQ(WindowFromPoint(CentreOf(control)), control) << id;
  }
}

TEST_F(MainBar, TimersOneToEightCloseTheirSelectorAndOtherIdsDoNothing) {
  Start();
  photo selectors[kSelectorSlots];
  for (int slot = 0; slot < kSelectorSlots; ++slot) {
    ASSERT_TRUE(selectors[slot].Create());
    bar.m_selectors[slot] = &selectors[slot];
  }
  for (UINT id : {0u, 9u, 4567u, 2u}) bar.SendMessage(WM_TIMER, id);
  for (int slot = 0; slot < kSelectorSlots; ++slot)
    EXPECT_EQ(selectors[slot].m_hWnd != nullptr, slot != 1) << "slot " << slot;

  // A running timer fires once, closes its window and is stopped.
  bar.SetTimer(5, 0);
  ASSERT_TRUE(testkit::PumpUntil([&] { return selectors[4].m_hWnd == nullptr; }, 2000));
  EXPECT_FALSE(bar.KillTimer(5)) << "the timer was killed";
  // A second tick for a slot whose window is gone, or never filled, is harmless.
  bar.SendMessage(WM_TIMER, 5);
  bar.m_selectors[6] = nullptr;
  bar.SendMessage(WM_TIMER, 7);
  EXPECT_NE(selectors[7].m_hWnd, nullptr);
}

TEST_F(MainBar, TheTrayIconIsAddedWithItsTipIdAndCallback) {
  Start();
  ASSERT_FALSE(g_shellCalls.empty());
  const ShellCall& add = g_shellCalls.front();
  EXPECT_EQ(add.message, DWORD(NIM_ADD));
  EXPECT_STREQ(add.data.szTip, "Tidybar");
  EXPECT_EQ(add.data.uID, kTrayIconId);
  EXPECT_EQ(add.data.uCallbackMessage, UINT(0x40A));
  EXPECT_EQ(add.data.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(add.data.hWnd, bar.m_hWnd);
  EXPECT_EQ(add.data.hIcon, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));

  // The callback reaches the tray object through the bar and its answer comes back.
  EXPECT_EQ(bar.SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_MOUSEMOVE), 1);
  EXPECT_EQ(bar.SendMessage(WM_TRAYNOTIFY, kTrayIconId + 1, WM_MOUSEMOVE), 0);
  EXPECT_EQ(bar.SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP), 0);
}

// As at log-on, when the taskbar is not ready for icons yet.
TEST_F(MainBar, WhenTheShellRefusesTheIconTheBarStartsInFullAndTheIconComesLater) {
  testkit::ScratchDir dir("bar-refused");
  testkit::CurrentFolder inside(dir.path);
  ASSERT_TRUE(note::SaveNote("left open"));
  g_shellAnswer = FALSE;
  Setting("loadbottom", 1);
  Setting("seltime", 3);
  RECT r = Start();
  EXPECT_EQ(bar.initResult, TRUE);
  ExpectRect(r, 14, 654, 989, 97);
  EXPECT_EQ(bar.m_selectorCloseMs, 3000);
  char clock[32] = {0};
  GetDlgItemTextA(bar.m_hWnd, IDC_CLOCK, clock, sizeof clock);
  EXPECT_NE(std::string(clock).find(':'), std::string::npos) << clock;
  EXPECT_NE(bar.GetBackground(), nullptr);
  ASSERT_NE(bar.m_noteWnd, nullptr);
  EXPECT_EQ(g_trayIcon.GetTrayIcon(), nullptr);

  g_shellAnswer = TRUE;
  ASSERT_TRUE(testkit::PumpUntil([] { return g_trayIcon.GetTrayIcon() != nullptr; }, 5000));
  EXPECT_EQ(g_shellCalls.back().message, DWORD(NIM_ADD));
  EXPECT_EQ(g_shellCalls.back().data.hWnd, bar.m_hWnd);
  bar.m_noteWnd->DestroyWindow();  // made without an owner here, so it would outlive the bar
  EXPECT_EQ(bar.m_noteWnd, nullptr) << "the note went with its window";
}

namespace {
// Runs the bar modally and, once it is up, does `finish` to it from inside its loop.
INT_PTR RunBarAndThen(void (*finish)(HWND window)) {
  static void (*s_finish)(HWND) = nullptr;
  static CMainBarDlg* s_bar = nullptr;
  s_finish = finish;
  CMainBarDlg bar;
  s_bar = &bar;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (!s_bar->m_hWnd) return;
    KillTimer(nullptr, id);
    s_finish(s_bar->m_hWnd);
  });
  return bar.DoModal();
}
}  // namespace

TEST_F(MainBar, EscapeCloseAndEnterEndTheBarWithoutWritingTheMarker) {
  EXPECT_EQ(RunBarAndThen([](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }), IDCANCEL);
  EXPECT_EQ(RunBarAndThen([](HWND window) { PostMessageA(window, WM_COMMAND, IDCANCEL, 0); }), IDCANCEL);
  // The Escape key as the dialog's keyboard handling sees it in the bar's own loop.
  EXPECT_EQ(RunBarAndThen([](HWND window) { PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0); }), IDCANCEL);
  EXPECT_EQ(RunBarAndThen([](HWND window) { PostMessageA(window, WM_COMMAND, IDOK, 0); }), IDOK);
  DWORD type;
  std::vector<BYTE> bytes;
  EXPECT_FALSE(testkit::RawValue("Software\\Glade Inc.\\tyb\\Settings", "ronce", &type, &bytes));
}

// Start-up reopens the note only when its first line has more than two characters.
TEST_F(MainBar, ReopensTheNoteWhenItsFirstLineIsLongerThanTwoCharacters) {
  testkit::ScratchDir dir("bar-note");
  testkit::CurrentFolder inside(dir.path);
  BarAsMainWindow owner(&bar);
  ASSERT_TRUE(note::SaveNote("ab\r\nlater lines do not count"));
  Start();
  EXPECT_EQ(bar.m_noteWnd, nullptr);
  bar.DestroyWindow();
  g_trayIcon.RemoveFromTray();

  ASSERT_TRUE(note::SaveNote("abc"));
  Start();
  ASSERT_NE(bar.m_noteWnd, nullptr);
  EXPECT_TRUE(bar.m_noteWnd->IsWindowVisible());
  char text[16] = {0};
  GetDlgItemTextA(bar.m_noteWnd->m_hWnd, IDC_NOTE_TEXT, text, sizeof text);
  EXPECT_STREQ(text, "abc");
  bar.DestroyWindow();  // with the note it owns, while the note's folder is current
}

TEST_F(MainBar, EveryNoteOrHelpClickOpensOneMoreWindow) {
  testkit::ScratchDir dir("bar-buttons");
  testkit::CurrentFolder inside(dir.path);
  BarAsMainWindow owner(&bar);
  Start();
  // Two clicks on `button` leave two windows open, the newer one in `*latest`.
  auto expectTwoWindows = [&](UINT button, auto* const* latest) {
    DISPPARAMS none{};
    bar.FireControlEvent(button, DISPID_CLICK, &none);
    auto* first = *latest;
    bar.FireControlEvent(button, DISPID_CLICK, &none);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(*latest, first);
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_TRUE((*latest)->IsWindowVisible());
  };
  expectTwoWindows(IDC_HELP_BUTTON, &bar.m_helpWnd);
  expectTwoWindows(IDC_NOTE, &bar.m_noteWnd);
  bar.DestroyWindow();
}

// The category buttons, Close and Calendar, clicked through the buttons' own click events.
namespace {

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(), [](HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PrivateUsage;
}
}  // namespace

// Nothing could show an ended help or note window again, so ending one gives it all back.
TEST_F(MainBar, HelpAndNoteWindowsEndedByTheUserAreDestroyedWithTheirMemory) {
  testkit::ScratchDir dir("bar-ended");
  testkit::CurrentFolder inside(dir.path);
  BarAsMainWindow owner(&bar);
  Start();
  auto openAndEnd = [&](int button, int close, auto* const* latest) {
    ClickButton(bar, button);
    ASSERT_NE(*latest, nullptr);
    HWND window = (*latest)->m_hWnd;
    RaiseControlEvent(GetDlgItem(window, close), DISPID_CLICK);
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_TRUE(testkit::PumpUntil([&] { return !IsWindow(window); }, 2000));
    EXPECT_EQ(*latest, nullptr);
  };
  for (int i = 0; i < 3; ++i) openAndEnd(IDC_HELP_BUTTON, IDC_HELP_CLOSE, &bar.m_helpWnd);  // first use settles
  int windows = ThreadWindows();
  SIZE_T memory = PrivateBytes();
  for (int i = 0; i < 20; ++i) {
    openAndEnd(IDC_HELP_BUTTON, IDC_HELP_CLOSE, &bar.m_helpWnd);
    openAndEnd(IDC_NOTE, IDC_NOTE_CLOSE, &bar.m_noteWnd);
  }
  EXPECT_EQ(ThreadWindows(), windows);
  EXPECT_LT(PrivateBytes(), memory + 8 * 1024 * 1024) << "private bytes before: " << memory;
  EXPECT_EQ(note::TextOfRecord(note::ReadStoredRecord()), " ") << "Close's write stays the last";
  bar.DestroyWindow();
}

TEST_F(MainBar, EachCategoryOpensItsOwnWindowOwnedByTheBarAtItsPlace) {
  BarAsMainWindow owner(&bar);
  Start();
  struct Category {
    int button, slot;
    const char* title;
    int viewId, x;
    bool modalFrame;
  };
  const Category categories[] = {
      {IDC_VIDEO, 0, "Video", 1002, 55, false},     {IDC_AUDIO, 1, "Audio", 1002, 50, false},
      {IDC_OFFICE, 2, "Office", 1002, 55, false},   {IDC_INTERNET, 3, "Internet", 1002, 55, false},
      {IDC_GRAPHIC, 4, "Graphics", 1002, 55, true}, {IDC_PROGRAM, 5, "Program", 1023, 55, false},
      {IDC_SYSTEM, 6, "System", 1002, 55, false},   {IDC_PHOTOS, 7, "Photos", 1002, 55, false},
  };
  for (const Category& c : categories) {
    ClickButton(bar, c.button);
    CSelectorDlg* selector = bar.SelectorIn(c.slot);
    ASSERT_NE(selector, nullptr) << c.title;
    EXPECT_EQ(selector->GetWindowText(), c.title);
    EXPECT_TRUE(selector->IsWindowVisible()) << c.title;
    EXPECT_EQ(GetWindow(*selector, GW_OWNER), bar.m_hWnd) << c.title;
    EXPECT_NE(GetDlgItem(*selector, c.viewId), nullptr) << c.title;
    bool frame = GetWindowLongPtrA(*selector, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME;
    EXPECT_EQ(frame, c.modalFrame) << c.title;
    // The template places the window's client area, in units, from the bar's client origin.
    RECT units{c.x, 60, 0, 0};
    MapDialogRect(*selector, &units);
    POINT origin{0, 0}, client{0, 0};
    ClientToScreen(bar, &origin);
    ClientToScreen(*selector, &client);
    EXPECT_NEAR(client.x - origin.x, units.left, 1) << c.title;
    EXPECT_NEAR(client.y - origin.y, units.top, 1) << c.title;
  }
}

TEST_F(MainBar, ASecondClickRestartsTheTimerAndOnlyTheNewerWindowCloses) {
  BarAsMainWindow owner(&bar);
  Start();
  bar.m_selectorCloseMs = 400;
  ClickButton(bar, IDC_PHOTOS);
  HWND older = *bar.SelectorIn(7);
  testkit::Pump(250);
  ClickButton(bar, IDC_PHOTOS);
  HWND newer = *bar.SelectorIn(7);
  ASSERT_NE(older, newer);
  testkit::Pump(250);
  EXPECT_TRUE(IsWindow(newer)) << "the restarted timer has not fired yet";
  ASSERT_TRUE(testkit::PumpUntil([&] { return !IsWindow(newer); }, 3000));
  EXPECT_EQ(bar.SelectorIn(7), nullptr);
  EXPECT_TRUE(IsWindow(older)) << "the older window is no longer tracked and stays";
  EXPECT_TRUE(IsWindowVisible(older));
  // Closed by the user, the untracked window goes for good instead of hiding.
  SendMessageA(older, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindow(older));
}

TEST_F(MainBar, CategoriesCloseIndependentlyAndAHiddenWindowStillGoes) {
  testkit::ReportRecorder reports;
  BarAsMainWindow owner(&bar);
  Start();
  bar.m_selectorCloseMs = 150;
  ClickButton(bar, IDC_AUDIO);
  bar.m_selectorCloseMs = 1200;
  ClickButton(bar, IDC_VIDEO);
  HWND audio = *bar.SelectorIn(1), video = *bar.SelectorIn(0);
  SendMessageA(video, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindow(video)) << "Cancel only hides the tracked window";
  EXPECT_FALSE(IsWindowVisible(video));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !IsWindow(audio); }, 3000));
  EXPECT_TRUE(IsWindow(video));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !IsWindow(video); }, 5000));
  EXPECT_EQ(bar.SelectorIn(0), nullptr);
  EXPECT_TRUE(reports.reports.empty());
}

TEST_F(MainBar, SeltimeZeroClosesAtTheNextTick) {
  Setting("seltime", 0);
  BarAsMainWindow owner(&bar);
  Start();
  EXPECT_EQ(bar.m_selectorCloseMs, 0);
  ClickButton(bar, IDC_SYSTEM);
  HWND window = *bar.SelectorIn(6);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !IsWindow(window); }, 1000));
}

// The pointer coming onto a category button has that category's icons made ahead; a press
// without it asks for nothing.
TEST_F(MainBar, ThePointerOnACategoryButtonPreparesItsFolder) {
  Start();
  bar.SendMessage(WM_SETCURSOR, WPARAM(bar.GetDlgItem(IDC_AUDIO)), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_FALSE(iconwarmup::WasAskedFor(L"C:\\tyb\\TYBICONS\\AUDIO"));
  bar.SendMessage(WM_SETCURSOR, WPARAM(bar.GetDlgItem(IDC_OFFICE)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(iconwarmup::WasAskedFor(L"c:\\TYB\\tybicons\\office"));
  EXPECT_TRUE(testkit::PumpUntil([] { return !iconwarmup::IsRunning(); }, 20000));
}

TEST_F(MainBar, AThousandCategoryClicksLeaveNothingBehind) {
  BarAsMainWindow owner(&bar);
  Start();
  bar.m_selectorCloseMs = 0;
  auto clickAndClose = [&] {
    ClickButton(bar, IDC_OFFICE);
    testkit::PumpUntil([&] { return bar.SelectorIn(2) == nullptr; }, 1000);
  };
  for (int i = 0; i < 20; ++i) clickAndClose();  // first-use allocations settle
  int windows = ThreadWindows();
  DWORD gdi = testkit::GdiObjects();
  SIZE_T memory = PrivateBytes();
  for (int i = 0; i < 1000; ++i) clickAndClose();
  EXPECT_EQ(ThreadWindows(), windows);
  EXPECT_LE(testkit::GdiObjects(), gdi + 2);
  EXPECT_LT(PrivateBytes(), memory + 2 * 1024 * 1024) << "private bytes before: " << memory;
}

TEST_F(MainBar, CloseWritesTheMarkerEvenWhenSetAndEndsTheBar) {
  CRegistryStore store(0);
  store.SetCompany("Glade Inc.");
  store.SetApplication("tyb");
  store.Write("Settings/", "ronce", 1);
  Start();
  bar.ShowWindow(SW_SHOW);
  ClickButton(bar, IDC_CLOSE_BAR);
  DWORD type = 0;
  std::vector<BYTE> bytes;
  ASSERT_TRUE(testkit::RawValue("Software\\Glade Inc.\\tyb\\Settings", "ronce", &type, &bytes));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(bytes, (std::vector<BYTE>{1, 0, 0, 0}));
  EXPECT_FALSE(bar.IsWindowVisible()) << "the bar's dialog has ended";
}
