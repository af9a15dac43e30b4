// The options window: what it shows of the stored settings, what Close writes, and the ways
// out that write nothing.
#include <gtest/gtest.h>

#include <olectl.h>

#include <vector>

#include "framework/ControlEvents.h"
#include "res/resource.h"
#include "settings/OptionsDlg.h"
#include "settings/RegistryStore.h"
#include "tests/support/TestKit.h"

namespace {
class OptionsWindow : public testing::Test {
 protected:
  void Store(const char* name, int value) {
    CRegistryStore store(0);
    store.SetCompany("Farrowind");
    store.SetApplication("tyb");
    store.Write("Settings/", name, value);
  }
  // The stored value, or `absent`.
  int Stored(const char* name, int absent = -99) {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!testkit::RawValue("Software\\Farrowind\\tyb\\Settings", name, &type, &bytes) || type != REG_DWORD ||
        bytes.size() != 4)
      return absent;
    return *reinterpret_cast<const int*>(bytes.data());
  }
  void Open() {
    ASSERT_TRUE(window.Create(IDD_OPTIONS));
    window.ShowWindow(SW_SHOW);
  }
  bool Checked(int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
  void Click(int id) { RaiseControlEvent(window.GetDlgItem(id), DISPID_CLICK); }
  void SetSeltimeText(const char* text) { SetDlgItemTextA(window, IDC_SELTIME, text); }

  testkit::ScratchKey settings{"Farrowind"};
  options window;
};
}  // namespace

TEST_F(OptionsWindow, ShowsOnlyStoredOnesAsCheckedAndSeltimeAsText) {
  Store("loadstartup", 1);
  Store("loadbottom", 2);
  Store("hidecpu", 1);
  Store("hidemp3", 0);
  Store("hidememory", 1);
  Store("seltime", -7);
  Open();
  EXPECT_TRUE(Checked(IDC_LOAD_STARTUP));
  EXPECT_FALSE(Checked(IDC_LOAD_BOTTOM)) << "2 is not 1";
  EXPECT_TRUE(Checked(IDC_HIDE_CPU));
  EXPECT_FALSE(Checked(IDC_HIDE_MP3));
  EXPECT_EQ(window.m_selTimeEdit.GetWindowText(), "-7");
  EXPECT_EQ(window.m_loadStartupCheck.GetCheck(), BST_CHECKED);
  EXPECT_EQ(window.GetWindowText(), "TYB Options");
  EXPECT_EQ(window.GetPage().bodyId, "options");

  Click(IDC_OPTIONS_CLOSE);
  EXPECT_EQ(Stored("loadbottom"), 0) << "an unchecked box stores 0";
  EXPECT_EQ(Stored("hidememory"), 1) << "the window never touches hidememory";
  EXPECT_FALSE(window.IsWindowVisible());
}

TEST_F(OptionsWindow, CloseRoundTripsEveryBoxAndTheSeltimeEdit) {
  Open();
  EXPECT_EQ(window.m_selTimeEdit.GetWindowText(), "10") << "nothing stored: the lifetime the bar uses";
  for (int id : {IDC_LOAD_STARTUP, IDC_LOAD_BOTTOM, IDC_HIDE_CPU, IDC_HIDE_MP3})
    CheckDlgButton(window, id, BST_CHECKED);
  SetSeltimeText("12");
  Click(IDC_OPTIONS_CLOSE);
  for (const char* name : {"loadstartup", "loadbottom", "hidecpu", "hidemp3"}) EXPECT_EQ(Stored(name), 1) << name;
  EXPECT_EQ(Stored("seltime"), 12);

  options again;
  ASSERT_TRUE(again.Create(IDD_OPTIONS));
  for (int id : {IDC_LOAD_STARTUP, IDC_LOAD_BOTTOM, IDC_HIDE_CPU, IDC_HIDE_MP3})
    EXPECT_EQ(IsDlgButtonChecked(again, id), UINT(BST_CHECKED)) << id;
  EXPECT_EQ(again.m_selTimeEdit.GetWindowText(), "12");
  for (int id : {IDC_LOAD_STARTUP, IDC_LOAD_BOTTOM, IDC_HIDE_CPU, IDC_HIDE_MP3})
    CheckDlgButton(again, id, BST_UNCHECKED);
  RaiseControlEvent(again.GetDlgItem(IDC_OPTIONS_CLOSE), DISPID_CLICK);
  for (const char* name : {"loadstartup", "loadbottom", "hidecpu", "hidemp3"}) EXPECT_EQ(Stored(name), 0) << name;
  again.DestroyWindow();
}

TEST_F(OptionsWindow, SeltimeThatIsNotAWholeNumberStoresZero) {
  for (const char* text : {"", "12a", "abc"}) {
    options each;
    ASSERT_TRUE(each.Create(IDD_OPTIONS));
    SetDlgItemTextA(each, IDC_SELTIME, text);
    RaiseControlEvent(each.GetDlgItem(IDC_OPTIONS_CLOSE), DISPID_CLICK);
    EXPECT_EQ(Stored("seltime"), 0) << '"' << text << '"';
    each.DestroyWindow();
  }
}

TEST_F(OptionsWindow, EscapeAndTheCloseBoxLeaveItOpen) {
  Open();
  window.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_TRUE(window.IsWindowVisible());
  window.SendMessage(WM_CLOSE);
  EXPECT_TRUE(window.IsWindowVisible());
  EXPECT_EQ(Stored("seltime"), -99);
}

TEST_F(OptionsWindow, EnterAndThePagesButtonsEndItWithoutWriting) {
  Open();
  CheckDlgButton(window, IDC_HIDE_CPU, BST_CHECKED);
  window.SendMessage(WM_COMMAND, IDOK);
  EXPECT_FALSE(window.IsWindowVisible());
  for (const char* element : {"ButtonOK", "ButtonCancel"}) {
    window.ShowWindow(SW_SHOW);
    ASSERT_NE(window.GetElementWindow(element), nullptr) << element;
    SendMessageA(window.GetElementWindow(element), BM_CLICK, 0, 0);
    EXPECT_FALSE(window.IsWindowVisible()) << element;
  }
  EXPECT_EQ(Stored("hidecpu"), -99) << "nothing was written";
}

TEST_F(OptionsWindow, AboutWithoutTheAboutProgramShowsNothing) {
  testkit::MessageBoxAnswerer boxes(IDOK);
  testkit::ReportRecorder reports;
  Open();
  Click(IDC_OPTIONS_ABOUT);
  testkit::Pump(300);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(reports.reports.empty());
  EXPECT_TRUE(window.IsWindowVisible());
}
