#include "tray/SystemTray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
constexpr UINT kCallback = WM_USER + 10;
constexpr UINT kIconId = 187;
constexpr UINT kAllFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

struct ShellCall {
  DWORD message;
  UINT id, flags, callback;
  std::string tip;
  HWND window;
  DWORD size;
};
std::vector<ShellCall> g_calls;
BOOL g_addAnswer = TRUE;
BOOL g_modifyAnswer = TRUE;

BOOL RecordShellCall(DWORD message, NOTIFYICONDATAA* d) {
  g_calls.push_back({message, d->uID, d->uFlags, d->uCallbackMessage, d->szTip, d->hWnd, d->cbSize});
  if (message == NIM_ADD) return g_addAnswer;
  return message == NIM_MODIFY ? g_modifyAnswer : TRUE;
}

// A visible top-level window that records the commands it receives.
class TargetWindow : public CWnd {
 public:
  TargetWindow() { CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(UINT(wParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<UINT> commands;
};

HICON AppIcon() { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)); }
bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

class TrayTest : public testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_addAnswer = TRUE;
    g_modifyAnswer = TRUE;
    CSystemTray::SetNotifyFunction(&RecordShellCall);
  }
  void TearDown() override { CSystemTray::SetNotifyFunction(nullptr); }
  TargetWindow bar;
};

TEST_F(TrayTest, AddsOnceWithTheGivenDataAndRemovesOnDestruction) {
  auto tray = std::make_unique<CSystemTray>(&bar, kCallback, "Tidybar", AppIcon(), kIconId);
  ASSERT_EQ(g_calls.size(), 1u);
  const ShellCall& add = g_calls[0];
  EXPECT_EQ(add.message, DWORD(NIM_ADD));
  EXPECT_EQ(add.size, DWORD(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(add.flags, kAllFlags);
  EXPECT_EQ(add.id, kIconId);
  EXPECT_EQ(add.callback, kCallback);
  EXPECT_EQ(add.tip, "Tidybar");
  EXPECT_EQ(add.window, bar.GetSafeHwnd());
  HWND hidden = tray->GetSafeHwnd();
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));

  // Adding again replaces the icon and keeps the one hidden window.
  EXPECT_TRUE(tray->AddToTray(nullptr, kCallback, "Tidybar", AppIcon(), kIconId));
  EXPECT_EQ(tray->GetSafeHwnd(), hidden);
  tray.reset();
  ASSERT_EQ(g_calls.size(), 4u);
  EXPECT_EQ(g_calls[1].message, DWORD(NIM_DELETE));
  EXPECT_EQ(g_calls[1].window, bar.GetSafeHwnd());
  EXPECT_EQ(g_calls[2].window, hidden);
  EXPECT_EQ(g_calls[3].message, DWORD(NIM_DELETE));
}

TEST_F(TrayTest, RefusedIconLeavesTheObjectInert) {
  g_addAnswer = FALSE;
  {
    CSystemTray tray;
    EXPECT_FALSE(tray.AddToTray(&bar, kCallback, "Tidybar", AppIcon(), kIconId));
    EXPECT_FALSE(tray.ChangeTip("x"));
    EXPECT_FALSE(tray.ChangeIcon(AppIcon()));
    EXPECT_EQ(tray.GetTrayIcon(), nullptr);
    EXPECT_STREQ(tray.GetTip(), "");
  }
  EXPECT_EQ(g_calls.size(), 1u);  // the refused add, and no delete afterwards
}

// At log-on the taskbar may refuse icons for a while (the retry timer: the bar's tests).
TEST_F(TrayTest, ARefusedIconWaitsForTheTaskbarToAnnounceItself) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  g_addAnswer = g_modifyAnswer = FALSE;
  CSystemTray tray;
  EXPECT_FALSE(tray.AddToTray(&bar, kCallback, "Tidybar", AppIcon(), kIconId));
  SendMessageA(tray, taskbarCreated, 0, 0);
  EXPECT_TRUE(tray.IsWaitingForTaskbar());
  g_addAnswer = TRUE;
  SendMessageA(tray, taskbarCreated, 0, 0);
  EXPECT_EQ(g_calls.back().message, DWORD(NIM_ADD));
  EXPECT_EQ(g_calls.back().window, bar.GetSafeHwnd());
  EXPECT_EQ(tray.GetTrayIcon(), AppIcon());
  EXPECT_FALSE(tray.IsWaitingForTaskbar());

  CSystemTray late;  // the busy shell carried out an add it answered no to
  g_addAnswer = FALSE;
  g_modifyAnswer = TRUE;
  late.AddToTray(&bar, kCallback, "Tidybar", AppIcon(), kIconId + 1);
  SendMessageA(late, taskbarCreated, 0, 0);
  EXPECT_EQ(late.GetTrayIcon(), AppIcon());
}

TEST_F(TrayTest, TipsAreCutToSixtyThreeCharacters) {
  CSystemTray tray(&bar, kCallback, std::string(100, 'a').c_str(), AppIcon(), kIconId);
  EXPECT_EQ(g_calls.back().tip, std::string(63, 'a'));
  EXPECT_TRUE(tray.ChangeTip((std::string(62, 'b') + "cd").c_str()));
  EXPECT_EQ(g_calls.back().tip, std::string(62, 'b') + "c");
  EXPECT_EQ(tray.GetTip().GetLength(), 63);
  EXPECT_FALSE(tray.ChangeTip(UINT(9999)));  // no such string: the tip stays
  EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(TrayTest, MouseMessagesOfTheIcon) {
  TargetWindow front;
  CSystemTray tray(nullptr, kCallback, "Tidybar", AppIcon(), kIconId);
  HWND hidden = tray.GetSafeHwnd();  // no window given: the callback comes to our own
  SetForegroundWindow(front);
  EXPECT_EQ(SendMessageA(hidden, kCallback, kIconId + 1, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(SendMessageA(hidden, kCallback, kIconId, WM_RBUTTONUP), 0);  // no menu resource
  for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN})
    EXPECT_EQ(SendMessageA(hidden, kCallback, kIconId, mouse), 1) << mouse;
  EXPECT_EQ(tray.OnTrayMessage(kIconId, WM_LBUTTONDBLCLK), 0);  // no main window, no menu
  EXPECT_EQ(GetForegroundWindow(), front.GetSafeHwnd());
  EXPECT_TRUE(front.commands.empty());
}

TEST_F(TrayTest, DoubleClickBringsTheMainWindowToTheFront) {
  CWinApp app("tray test");
  app.m_pMainWnd = &bar;
  TargetWindow front;
  CSystemTray tray(&bar, kCallback, "Tidybar", AppIcon(), kIconId);
  SetForegroundWindow(front);
  ASSERT_EQ(GetForegroundWindow(), front.GetSafeHwnd());
  EXPECT_EQ(tray.OnTrayMessage(kIconId, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(GetForegroundWindow(), bar.GetSafeHwnd());

  EXPECT_FALSE(tray.SetDoubleClickItem(42, FALSE));  // kept, though there is no menu
  EXPECT_EQ(tray.OnTrayMessage(kIconId, WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(bar.commands, std::vector<UINT>{42});
}

TEST_F(TrayTest, TaskbarRestartAddsTheIconAgainUnlessHidden) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  CSystemTray tray(&bar, kCallback, "Tidybar", AppIcon(), kIconId);
  SendMessageA(tray, taskbarCreated, 0, 0);
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[1].message, DWORD(NIM_ADD));
  EXPECT_EQ(g_calls[1].flags, kAllFlags);
  EXPECT_EQ(g_calls[1].window, bar.GetSafeHwnd());
  tray.HideInTray();
  SendMessageA(tray, taskbarCreated, 0, 0);
  tray.RemoveFromTray();
  SendMessageA(tray, taskbarCreated, 0, 0);
  EXPECT_EQ(g_calls.size(), 3u);  // only the hide's delete
}

TEST_F(TrayTest, IconSequenceRejectsBadArgumentsAndCyclesOnItsTimer) {
  CSystemTray idle;
  EXPECT_FALSE(idle.StartIconCycle(10, 0));  // no window to own the timer
  CSystemTray tray(&bar, kCallback, "Tidybar", AppIcon(), kIconId);
  HICON icons[] = {LoadIconA(nullptr, IDI_HAND), LoadIconA(nullptr, IDI_QUESTION)};
  EXPECT_FALSE(tray.SetIconSequence(nullptr, 1));
  EXPECT_FALSE(tray.SetIconSequence(icons, -1));
  EXPECT_FALSE(tray.SetIconSequence(UINT(IDR_MAINFRAME), UINT(IDR_MAINFRAME + 1)));  // 129 is missing
  EXPECT_FALSE(tray.StepIconCycle());
  ASSERT_TRUE(tray.SetIconSequence(icons, 1));
  ASSERT_TRUE(tray.StartIconCycle(20, 0));
  EXPECT_TRUE(testkit::PumpUntil([&] { return tray.GetTrayIcon() == icons[0] && g_calls.size() >= 3; }, 3000));
  tray.StopIconCycle();
  EXPECT_EQ(tray.GetTrayIcon(), AppIcon());
  size_t calls = g_calls.size();
  SendMessageA(tray, WM_TIMER, 4567, 0);  // a late tick changes nothing

  ASSERT_TRUE(tray.StartIconCycle(50, 1));  // ends by itself after about a second
  EXPECT_TRUE(testkit::PumpUntil([&] { return tray.GetTrayIcon() == AppIcon() && g_calls.size() > calls + 5; }, 4000));
  calls = g_calls.size();
  testkit::Pump(200);
  EXPECT_EQ(g_calls.size(), calls);
}

// Icons loaded for the cycle belong to the tray; the caller's icons stay the caller's.
TEST_F(TrayTest, LoadedCycleIconsAreFreedOnceNoLongerShown) {
  HICON callers = CopyIcon(AppIcon());
  HICON loaded = nullptr;
  {
    CSystemTray tray(&bar, kCallback, "Tidybar", AppIcon(), kIconId);
    ASSERT_TRUE(tray.SetIconSequence(UINT(IDR_MAINFRAME), UINT(IDR_MAINFRAME)));
    ASSERT_TRUE(tray.StepIconCycle());
    loaded = tray.GetTrayIcon();
    ASSERT_TRUE(tray.SetIconSequence(&callers, 0));
    EXPECT_TRUE(IconAlive(loaded));  // still set in the tray
  }
  EXPECT_FALSE(IconAlive(loaded));
  EXPECT_TRUE(IconAlive(callers));
  DestroyIcon(callers);
}

TEST_F(TrayTest, DestructionCopesWithWindowsAlreadyGone) {
  auto notify = std::make_unique<TargetWindow>();
  auto tray = std::make_unique<CSystemTray>(notify.get(), kCallback, "Tidybar", AppIcon(), kIconId);
  ASSERT_TRUE(tray->StartIconCycle(10, 0));
  DestroyWindow(*tray);
  notify.reset();
  tray.reset();
  EXPECT_EQ(g_calls.back().message, DWORD(NIM_DELETE));
}

// The shell knows an icon by window and id: after a redirect, changes must still find it.
TEST(TrayRealShell, AddsRedirectsChangesAndRemovesTheIcon) {
  TargetWindow bar;
  CSystemTray tray;
  ASSERT_TRUE(tray.AddToTray(&bar, kCallback, "Tidybar", AppIcon(), kIconId));
  EXPECT_TRUE(tray.RedirectNotifications(nullptr));
  EXPECT_EQ(tray.GetNotificationWnd(), &tray);
  EXPECT_TRUE(tray.ChangeTip("Tidybar 2"));
  EXPECT_TRUE(tray.ChangeIcon(UINT(IDR_MAINFRAME)));
  EXPECT_FALSE(tray.ChangeIcon(UINT(9999)));
}
}  // namespace
