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
const UINT kTestDialog = 900;  // and its controls, as framework_tests.rc makes them:
const int kLabel = 901;
const int kPush = 902;
const int kEdit = 903;
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
        OnCommand(kPush, &TestDialog::OnPush),
        OnCommand(kEdit, EN_CHANGE, &TestDialog::OnEditChange),
    };
    static const MessageMap map{BaseDialog::GetMessageMap(), entries};
    return &map;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kLabel, label); }
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
  HWND push = dialog.GetDlgItem(kPush);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kPush, BN_CLICKED), reinterpret_cast<LPARAM>(push));
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kPush, BN_SETFOCUS), reinterpret_cast<LPARAM>(push));
  SetWindowTextA(dialog.GetDlgItem(kEdit), "typed");
  EXPECT_EQ(dialog.pushes, 1);
  EXPECT_EQ(dialog.edits, 1);
}

TEST(Dialog, DataExchangeBindsOnceAndTheParentReflectsNotificationsToTheChild) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  EXPECT_EQ(dialog.label.m_hWnd, dialog.GetDlgItem(kLabel));
  EXPECT_EQ(CWnd::FromHandlePermanent(dialog.GetDlgItem(kLabel)), &dialog.label);
  dialog.UpdateData(FALSE);  // binding again changes nothing
  EXPECT_EQ(dialog.label.m_hWnd, dialog.GetDlgItem(kLabel));

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

// An object bound to an edit field that hears the text it is given and passes it on.
class TextListener : public CWnd {
 public:
  explicit TextListener(std::vector<std::string>* heardBy, const char* name) : heard(heardBy), me(name) {}
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {OnMessage<WM_SETTEXT>(&TextListener::OnSetText)};
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
  }
  LRESULT OnSetText(const char* text) {
    heard->push_back(me + ":" + (text ? text : ""));
    return Default();
  }
  std::vector<std::string>* heard;
  std::string me;
};

HWND MakeEdit() {
  return CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 60, 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

CString TextOf(HWND window) {
  char text[32] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// An edit field and two listeners, bound to it first and then second.
struct TwoBindings {
  std::vector<std::string> heard;
  HWND edit = MakeEdit();
  TextListener first{&heard, "first"}, second{&heard, "second"};
  bool Bind() { return edit && first.SubclassWindow(edit) && second.SubclassWindow(edit); }
};

// Each binding hears the window's messages and hands them on, and letting go of either one
// first leaves the other and the window's own procedure working.
TEST(Window, TwoBindingsOnOneWindowCanBeUndoneInEitherOrder) {
  for (bool firstGoesFirst : {true, false}) {
    TwoBindings bound;
    ASSERT_TRUE(bound.Bind());
    auto& [heard, edit, first, second] = bound;
    EXPECT_FALSE(second.SubclassWindow(edit));  // one binding per object
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &first);
    SetWindowTextA(edit, "both");
    EXPECT_EQ(heard, (std::vector<std::string>{"second:both", "first:both"}));  // the later binding hears first
    EXPECT_EQ(TextOf(edit), "both");

    TextListener& gone = firstGoesFirst ? first : second;
    TextListener& kept = firstGoesFirst ? second : first;
    EXPECT_EQ(gone.UnsubclassWindow(), edit);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &kept);
    heard.clear();
    SetWindowTextA(edit, "one");
    EXPECT_EQ(heard, std::vector<std::string>{kept.me + ":one"});
    EXPECT_EQ(TextOf(edit), "one");

    EXPECT_EQ(kept.UnsubclassWindow(), edit);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    heard.clear();
    SetWindowTextA(edit, "none");
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(TextOf(edit), "none");
    DestroyWindow(edit);
  }
}

// A window destroyed while two objects are bound to it lets go of both.
TEST(Window, DestroyingAWindowReleasesEveryBinding) {
  TwoBindings bound;
  ASSERT_TRUE(bound.Bind());
  auto& [heard, edit, first, second] = bound;
  DestroyWindow(edit);
  EXPECT_EQ(first.m_hWnd, nullptr);
  EXPECT_EQ(second.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
  // Either can bind a new window afterwards.
  HWND again = MakeEdit();
  EXPECT_TRUE(second.SubclassWindow(again));
  SetWindowTextA(again, "x");
  EXPECT_EQ(heard, std::vector<std::string>{"second:x"});
  second.UnsubclassWindow();
  DestroyWindow(again);
}
