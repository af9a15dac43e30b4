// The bar under test: a subclass that reaches its protected parts, and the fixture that
// starts it with a scratch registry and the tray's shell calls recorded.
#pragma once

#include <gtest/gtest.h>

#include <olectl.h>

#include <vector>

#include "app/MainBarDlg.h"
#include "framework/ControlEvents.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "settings/RegistryStore.h"
#include "tests/support/TestKit.h"
#include "tray/SystemTray.h"

namespace bartest {
struct ShellCall {
  DWORD message;
  NOTIFYICONDATAA data;
};
inline std::vector<ShellCall> g_shellCalls;
inline BOOL g_shellAnswer = TRUE;

inline BOOL RecordShell(DWORD message, NOTIFYICONDATAA* data) {
  g_shellCalls.push_back({message, *data});
  return g_shellAnswer;
}

// The bar with its protected parts reachable for inspection.
class TestBar : public CMainBarDlg {
 public:
  using CMainBarDlg::m_helpWnd;
  using CMainBarDlg::m_mp3;
  using CMainBarDlg::m_noteWnd;
  using CMainBarDlg::m_seekSlider;
  using CMainBarDlg::m_selectorCloseMs;
  using CMainBarDlg::m_selectors;
  using CMainBarDlg::m_sequencer;
  using CMainBarDlg::m_timeDisplay;
  using CMainBarDlg::m_volumeSlider;
  BOOL OnInitDialog() override {
    initResult = CMainBarDlg::OnInitDialog();
    return initResult;
  }
  BOOL initResult = 0;
};

class MainBar : public testing::Test {
 protected:
  void SetUp() override {
    g_shellCalls.clear();
    g_shellAnswer = TRUE;
    CSystemTray::SetNotifyFunction(&RecordShell);
  }
  void TearDown() override {
    if (bar.m_hWnd) bar.DestroyWindow();
    g_trayIcon.RemoveFromTray();
    CSystemTray::SetNotifyFunction(nullptr);
  }
  void Setting(const char* name, int value) {
    CRegistryStore store(0);
    store.SetCompany("Farrowind");
    store.SetApplication("tyb");
    store.Write("Settings/", name, value);
  }
  RECT Start() {
    EXPECT_TRUE(bar.Create(IDD_MAIN_BAR));
    RECT r;
    bar.GetWindowRect(&r);
    return r;
  }
  // Where the template puts the bar, to within the dialog manager's rounding of units.
  void ExpectTemplatePlace(const RECT& r) {
    RECT units{12, 1, 12 + 659, 1 + 57};
    MapDialogRect(bar.m_hWnd, &units);
    EXPECT_NEAR(r.left, units.left, 2);
    EXPECT_NEAR(r.top, units.top, 2);
    EXPECT_NEAR(r.right - r.left, units.right - units.left + 2, 2);  // with the one-pixel border
    EXPECT_NEAR(r.bottom - r.top, units.bottom - units.top + 2, 2);
  }
  const CPlaylistSequencer& Sequencer() const { return bar.m_sequencer; }
  testkit::ScratchKey settings{"Farrowind"};
  testkit::ScratchKey marker{"Glade Inc."};
  TestBar bar;
};

inline void ExpectRect(const RECT& r, int x, int y, int w, int h) {
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
  EXPECT_EQ(r.right - r.left, w);
  EXPECT_EQ(r.bottom - r.top, h);
}

inline POINT CentreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The bar as the application's main window, so windows made without a parent are its own.
class BarAsMainWindow {
 public:
  explicit BarAsMainWindow(CWnd* bar) { m_app.m_pMainWnd = bar; }

 private:
  CWinApp m_app;
};

inline void ClickButton(CMainBarDlg& bar, int id) { RaiseControlEvent(bar.GetDlgItem(id), DISPID_CLICK); }
}  // namespace bartest
