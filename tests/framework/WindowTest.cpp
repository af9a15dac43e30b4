// Windows and dialogs: message maps and their chaining, data exchange, reflection of child
// notifications, modal and modeless ends, ownership, and errors kept out of Windows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "tests/support/TestKit.h"

namespace {
const UINT kTestDialog = 900;
const UINT WM_PING = WM_APP + 1;
const UINT WM_THROW = WM_APP + 2;

// A label that colours itself through reflected WM_CTLCOLORSTATIC and counts reflected clicks.
class ReflectingLabel : public CWnd {
 public:
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
    if (message == WM_CTLCOLORSTATIC) {
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
      *result = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
      ++colourRequests;
      return true;
    }
    return false;
  }
  int colourRequests = 0;
};

class BaseDialog : public CDialog {
 public:
  using CDialog::CDialog;
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {
        OnMessage(WM_PING, &BaseDialog::OnPingBase),
        OnMessage(WM_APP + 3, &BaseDialog::OnBaseOnly),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
  }
  LRESULT OnPingBase(WPARAM, LPARAM) { return 1; }
  LRESULT OnBaseOnly(WPARAM, LPARAM) { return 3; }
};

class TestDialog : public BaseDialog {
 public:
  explicit TestDialog(CWnd* parent = nullptr) : BaseDialog(kTestDialog, parent) {}
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {
        OnMessage(WM_PING, &TestDialog::OnPing),
        OnMessage(WM_THROW, &TestDialog::OnThrow),
        OnCommand(902, &TestDialog::OnPush),
        OnCommand(903, EN_CHANGE, &TestDialog::OnEditChange),
    };
    static const MessageMap map{BaseDialog::GetMessageMap(), entries};
    return &map;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 901, label); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ++inits;
    return TRUE;
  }
  LRESULT OnPing(WPARAM wParam, LPARAM) { return 100 + LRESULT(wParam); }
  LRESULT OnThrow(WPARAM wParam, LPARAM) {
    if (wParam == 1) throw CFileException(ERROR_ACCESS_DENIED, "C:\\locked.txt");
    throw std::runtime_error("plain failure");
  }
  void OnPush() { ++pushes; }
  void OnEditChange() { ++edits; }
  ReflectingLabel label;
  int inits = 0, pushes = 0, edits = 0;
};

struct AppScope {
  CWinApp app;
  ~AppScope() { app.m_pMainWnd = nullptr; }
};
}  // namespace

TEST(Dialog, MessageMapsChainToTheBaseAndTheDerivedRowWins) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(dialog.SendMessage(WM_PING, 5), 105);
  EXPECT_EQ(dialog.SendMessage(WM_APP + 3), 3);
  EXPECT_EQ(dialog.SendMessage(WM_APP + 9), 0);  // unmapped: the dialog manager's default
  dialog.DestroyWindow();
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Dialog, CommandRowsMatchControlIdAndNotificationCode) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  HWND push = dialog.GetDlgItem(902);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(902, BN_CLICKED), reinterpret_cast<LPARAM>(push));
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(902, BN_SETFOCUS), reinterpret_cast<LPARAM>(push));
  SetWindowTextA(dialog.GetDlgItem(903), "typed");
  EXPECT_EQ(dialog.pushes, 1);
  EXPECT_EQ(dialog.edits, 1);
}

TEST(Dialog, DataExchangeBindsOnceAndTheParentReflectsNotificationsToTheChild) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_EQ(dialog.label.m_hWnd, dialog.GetDlgItem(901));
  EXPECT_EQ(CWnd::FromHandlePermanent(dialog.GetDlgItem(901)), &dialog.label);
  dialog.UpdateData(FALSE);  // binding again changes nothing
  EXPECT_EQ(dialog.label.m_hWnd, dialog.GetDlgItem(901));

  HDC dc = CreateCompatibleDC(nullptr);
  LRESULT brush = dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(dialog.label.m_hWnd));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  DeleteDC(dc);
  EXPECT_GE(dialog.label.colourRequests, 1);
  HWND label = dialog.label.m_hWnd;
  dialog.DestroyWindow();
  EXPECT_EQ(dialog.label.m_hWnd, nullptr);  // the control let go of its destroyed window
  EXPECT_FALSE(IsWindow(label));
}

TEST(Dialog, ModelessEndHidesAndAParentlessDialogIsOwnedByTheMainWindow) {
  AppScope scope;
  TestDialog owner;
  ASSERT_TRUE(owner.Create(kTestDialog));
  scope.app.m_pMainWnd = &owner;
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_EQ(GetWindow(dialog.m_hWnd, GW_OWNER), owner.m_hWnd);
  dialog.ShowWindow(SW_SHOWNORMAL);
  dialog.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_TRUE(IsWindow(dialog.m_hWnd));
  EXPECT_FALSE(dialog.IsWindowVisible());
  dialog.ShowWindow(SW_SHOWNORMAL);
  dialog.SendMessage(WM_COMMAND, IDOK);
  EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST(Dialog, ModalRunReturnsTheEndResultAndDisablesTheOwnerMeanwhile) {
  TestDialog owner;
  ASSERT_TRUE(owner.Create(kTestDialog));
  owner.ShowWindow(SW_SHOW);
  static TestDialog* running = nullptr;
  static BOOL ownerEnabledDuringRun = TRUE;
  static HWND ownerWindow = nullptr;
  ownerWindow = owner.m_hWnd;
  TestDialog modal(&owner);
  running = &modal;
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ownerEnabledDuringRun = IsWindowEnabled(ownerWindow);
    running->EndDialog(42);
  });
  EXPECT_EQ(modal.DoModal(), 42);
  EXPECT_FALSE(ownerEnabledDuringRun);
  EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
  EXPECT_EQ(modal.m_hWnd, nullptr);
}

TEST(Dialog, AnErrorInAHandlerIsReportedAndNeverReachesWindows) {
  testkit::ReportRecorder recorder;
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_EQ(dialog.SendMessage(WM_THROW, 1), 0);
  EXPECT_EQ(dialog.SendMessage(WM_THROW, 2), 0);
  ASSERT_EQ(recorder.reports.size(), 2u);
  EXPECT_NE(recorder.reports[0].find("C:\\locked.txt"), std::string::npos);
  EXPECT_EQ(recorder.reports[1], "plain failure");
  EXPECT_EQ(dialog.SendMessage(WM_PING, 1), 101);  // the window goes on working
}

TEST(Dialog, AMissingTemplateFailsWithoutAWindow) {
  TestDialog dialog;
  EXPECT_FALSE(dialog.Create(12345));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(Window, OwnClassWindowsAttachAtCreationAndDetachAtDestruction) {
  struct Counter : CWnd {
    const MessageMap* GetMessageMap() const override {
      static const MessageEntry entries[] = {OnMessage(WM_TIMER, &Counter::OnTick)};
      static const MessageMap map{CWnd::GetMessageMap(), entries};
      return &map;
    }
    LRESULT OnTick(WPARAM id, LPARAM) {
      ticks += int(id);
      return 0;
    }
    void PostNcDestroy() override { ++finals; }
    int ticks = 0, finals = 0;
  } window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
  window.SendMessage(WM_TIMER, 7);
  EXPECT_EQ(window.ticks, 7);
  HWND handle = window.m_hWnd;
  window.DestroyWindow();
  EXPECT_EQ(window.finals, 1);
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
  EXPECT_STREQ(AfxRegisterWndClass(0), AfxRegisterWndClass(0));
}

// A wrapper that only borrows a handle lets go of it without unlinking the window's own object.
TEST(Window, ABorrowingWrapperLeavesTheOwnerLinked) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  {
    struct Borrower : CWnd {
      using CWnd::Detach;
    } borrower;
    borrower.m_hWnd = owner.m_hWnd;
    borrower.Detach();
  }
  EXPECT_EQ(CWnd::FromHandlePermanent(owner.m_hWnd), &owner);
  EXPECT_EQ(CWnd::FromHandlePermanent(nullptr), nullptr);
  owner.DestroyWindow();
}
