// Typed message rows: the arguments each row hands its handler, the answers it gives back,
// and a handler that declines leaving the message to the later rows, the base class's rows
// and default processing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/Wnd.h"
#include "tests/support/TestKit.h"

namespace {
const UINT kListId = 31;
const UINT kOtherId = 32;
const UINT_PTR kDerivedTimer = 1;
const COLORREF kUntouched = RGB(1, 2, 3);

// The base class's rows: they run only for what the derived class leaves to them.
class BaseWindow : public CWnd {
 public:
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {
        OnMessage<WM_TIMER>(&BaseWindow::OnTimer),
        OnCommand(IDOK, &BaseWindow::OnOk),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
  }
  void OnTimer(UINT_PTR id) { heard.push_back("base timer " + std::to_string(id)); }
  void OnOk() { heard.push_back("base ok"); }
  std::vector<std::string> heard;
};

class RowWindow : public BaseWindow {
 public:
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {
        OnMessage<WM_TIMER>(&RowWindow::OnTimer),
        OnMessage<WM_TIMER>(&RowWindow::OnAnyTimer),
        OnMessage<WM_LBUTTONDOWN>(&RowWindow::OnLButtonDown),
        OnMessage<WM_SIZE>(&RowWindow::OnSize),
        OnMessage<WM_KEYDOWN>(&RowWindow::OnKeyDown),
        OnMessage<WM_NCHITTEST>(&RowWindow::OnNcHitTest),
        OnMessage<WM_CTLCOLORSTATIC>(&RowWindow::OnCtlColor),
        OnMessage<WM_SETTEXT>(&RowWindow::OnSetText),
        OnCommand(IDOK, &RowWindow::OnOk),
        OnCommand(kListId, EN_CHANGE, &RowWindow::OnListChange),
        OnNotify(kListId, LVN_KEYDOWN, &RowWindow::OnListKey),
        OnNotify(kListId, NM_CLICK, &RowWindow::OnListClick),
    };
    static const MessageMap map{BaseWindow::GetMessageMap(), entries};
    return &map;
  }
  // Only its own timer; the others go on to the next row and then to the base class's.
  bool OnTimer(UINT_PTR id) {
    heard.push_back("timer " + std::to_string(id));
    return id == kDerivedTimer;
  }
  bool OnAnyTimer() {
    heard.push_back("any timer");
    return false;
  }
  void OnLButtonDown(UINT keys, POINT point) {
    heard.push_back("down " + std::to_string(keys) + " " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  void OnSize(UINT type, int width, int height) {
    heard.push_back("size " + std::to_string(type) + " " + std::to_string(width) + "x" + std::to_string(height));
  }
  void OnKeyDown(UINT key, UINT repeats, UINT flags) {
    heard.push_back("key " + std::to_string(key) + " " + std::to_string(repeats) +
                    ((flags & KF_REPEAT) ? " repeat" : ""));
  }
  UINT OnNcHitTest(POINT screen) { return screen.x < 0 ? HTLEFT : HTCAPTION; }
  HBRUSH OnCtlColor(HDC, HWND) { return GetStockBrush(GRAY_BRUSH); }
  LRESULT OnSetText(const char* text) {
    heard.push_back(std::string("text ") + (text ? text : "(none)"));
    return Default();
  }
  // Declines while `passOk` is set, so the base class's OK row runs.
  bool OnOk() {
    heard.push_back("ok");
    return !passOk;
  }
  void OnListChange() { heard.push_back("change"); }
  LRESULT OnListKey(NMLVKEYDOWN* down) {
    heard.push_back("list key " + std::to_string(down->wVKey));
    return 5;
  }
  void OnListClick() { heard.push_back("click"); }
  bool passOk = false;
};

class MessageRows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr));
    window.heard.clear();
  }
  std::vector<std::string> Heard() { return std::exchange(window.heard, {}); }
  LRESULT Notify(UINT id, UINT code, WORD key = 0) {
    NMLVKEYDOWN note{};
    note.hdr.idFrom = id;
    note.hdr.code = code;
    note.wVKey = key;
    return window.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&note));
  }
  RowWindow window;
};

TEST_F(MessageRows, ADecliningHandlerLeavesTheMessageToTheLaterRowsThenTheBaseClass) {
  window.SendMessage(WM_TIMER, kDerivedTimer);
  EXPECT_EQ(Heard(), (std::vector<std::string>{"timer 1"}));
  window.SendMessage(WM_TIMER, 9);
  EXPECT_EQ(Heard(), (std::vector<std::string>{"timer 9", "any timer", "base timer 9"}));

  window.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
  EXPECT_EQ(Heard(), (std::vector<std::string>{"ok"}));
  window.passOk = true;
  window.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
  EXPECT_EQ(Heard(), (std::vector<std::string>{"ok", "base ok"}));
}

TEST_F(MessageRows, RowsUnpackTheirMessagesArgumentsSigned) {
  window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 12));
  window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 20));
  window.SendMessage(WM_KEYDOWN, VK_SPACE, MAKELPARAM(2, KF_REPEAT));
  window.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(Heard(), (std::vector<std::string>{"down 5 -3,12", "size 0 640x20", "key 32 2 repeat", "key 13 1"}));
}

TEST_F(MessageRows, AnswersComeBackAsTheMessagesResult) {
  EXPECT_EQ(window.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(-40, 5)), HTLEFT);
  EXPECT_EQ(window.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(40, 5)), HTCAPTION);
  EXPECT_EQ(window.SendMessage(WM_CTLCOLORSTATIC), reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)));
  // The handler hands the text on to default processing, which stores it.
  EXPECT_TRUE(window.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Tidy")));
  EXPECT_EQ(window.GetWindowText(), "Tidy");
  EXPECT_EQ(Heard(), (std::vector<std::string>{"text Tidy"}));
}

// Commands and notifications match on control id, then code: a row for one control does not
// hear another's, nor another code of its own.
TEST_F(MessageRows, CommandAndNotifyRowsMatchTheirIdAndCode) {
  window.SendMessage(WM_COMMAND, MAKEWPARAM(kListId, EN_CHANGE));
  window.SendMessage(WM_COMMAND, MAKEWPARAM(kListId, EN_UPDATE));
  window.SendMessage(WM_COMMAND, MAKEWPARAM(kOtherId, EN_CHANGE));
  EXPECT_EQ(Notify(kListId, LVN_KEYDOWN, VK_F2), 5);
  EXPECT_EQ(Notify(kOtherId, LVN_KEYDOWN, VK_F2), 0);
  Notify(kListId, NM_CLICK);
  Notify(LVN_KEYDOWN, kListId);  // id and code the wrong way round
  EXPECT_EQ(Heard(), (std::vector<std::string>{"change", "list key 113", "click"}));
}

// A control bound to an object keeps its own drawing for what the object declines.
class DecliningStatic : public CWnd {
 public:
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {OnMessage<WM_PRINTCLIENT>(&DecliningStatic::OnPrintClient)};
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
  }
  bool OnPrintClient(HDC, UINT) { return handle; }
  bool handle = false;
};

TEST(MessageRowDefaults, WhatNoRowHandlesGetsTheWindowsOwnProcessing) {
  HWND control = CreateWindowExA(0, "STATIC", "WWWW", WS_POPUP | SS_LEFT, 0, 0, 40, 20, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(control);
  DecliningStatic label;
  ASSERT_TRUE(label.SubclassWindow(control));
  label.handle = true;
  testkit::Canvas handled(40, 20, kUntouched);
  label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(handled.Dc()), PRF_CLIENT);
  EXPECT_EQ(handled.Count(kUntouched), 40 * 20);
  label.handle = false;
  testkit::Canvas declined(40, 20, kUntouched);
  label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(declined.Dc()), PRF_CLIENT);
  EXPECT_LT(declined.Count(kUntouched), 40 * 20 / 2);  // the static filled its background
  label.UnsubclassWindow();
  DestroyWindow(control);
}
}  // namespace
