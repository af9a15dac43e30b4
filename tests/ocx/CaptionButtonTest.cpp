// The caption button: its look from the stored state, and one Click per press.
#include "ocx/captionbutton/CaptionButton.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include "framework/Dialog.h"
#include "tests/ocx/OcxTestIds.h"
#include "tests/support/TestKit.h"

namespace {
class Panel : public CDialog {
 public:
  Panel() : CDialog(IDD_CONTROL_PANEL) {}
  const EventSinkMap* GetEventSinkMap() const override {
    static const EventSinkEntry entries[] = {
        OnEvent<&Panel::OnPlay>(IDC_PLAY_CAPTION, DISPID_CLICK),
        OnEvent<&Panel::OnArrow>(IDC_ARROW_CAPTION, DISPID_CLICK),
    };
    static const EventSinkMap map{CDialog::GetEventSinkMap(), entries};
    return &map;
  }
  void OnPlay() { ++plays; }
  void OnArrow() { ++arrows; }
  int plays = 0, arrows = 0;
};

CCaptionButton* Button(const Panel& panel, int id) {
  return static_cast<CCaptionButton*>(CWnd::FromHandlePermanent(panel.GetDlgItem(id)));
}

// The button's picture, as it paints itself.
struct Picture {
  explicit Picture(HWND window) {
    GetClientRect(window, &size);
    WindowDc screen(window);
    dc.Reset(CreateCompatibleDC(screen.Get()));
    bitmap.Reset(CreateCompatibleBitmap(screen.Get(), size.right, size.bottom));
    previous = SelectObject(dc.Get(), bitmap.Get());
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  }
  ~Picture() { SelectObject(dc.Get(), previous); }
  int Count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < size.bottom; ++y)
      for (int x = 0; x < size.right; ++x) n += GetPixel(dc.Get(), x, y) == colour;
    return n;
  }
  RECT size;
  MemoryDc dc;
  BitmapHandle bitmap;
  HGDIOBJ previous;
};

LPARAM Centre(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return MAKELPARAM(r.right / 2, r.bottom / 2);
}
}  // namespace

TEST(CaptionButton, ClickFollowsAPressReleasedOverTheButtonOnly) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  HWND play = panel.GetDlgItem(IDC_PLAY_CAPTION);
  SendMessageA(play, WM_LBUTTONDOWN, MK_LBUTTON, Centre(play));
  EXPECT_TRUE(Button(panel, IDC_PLAY_CAPTION)->IsPressed());
  SendMessageA(play, WM_LBUTTONUP, 0, Centre(play));
  EXPECT_EQ(panel.plays, 1);
  SendMessageA(play, WM_LBUTTONDOWN, MK_LBUTTON, Centre(play));
  SendMessageA(play, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));  // released elsewhere
  SendMessageA(play, WM_LBUTTONUP, 0, Centre(play));          // a release without a press
  EXPECT_EQ(panel.plays, 1);
  EXPECT_FALSE(Button(panel, IDC_PLAY_CAPTION)->IsPressed());
}

TEST(CaptionButton, SpaceAndEnterClickOnceWhileFocusedAndAutoRepeatDoesNot) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  HWND arrow = panel.GetDlgItem(IDC_ARROW_CAPTION);
  SendMessageA(arrow, WM_KEYDOWN, VK_SPACE, 1);
  SendMessageA(arrow, WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));
  SendMessageA(arrow, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(arrow, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(panel.arrows, 2);
  MSG enter{arrow, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_EQ(SendMessageA(arrow, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), DLGC_WANTMESSAGE);
}

TEST(CaptionButton, DrawsInItsStoredColoursAndShowsHover) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  HWND play = panel.GetDlgItem(IDC_PLAY_CAPTION);
  EXPECT_STREQ(Button(panel, IDC_PLAY_CAPTION)->GetCaption(), "Play");
  {
    Picture picture(play);
    int area = picture.size.right * picture.size.bottom;
    EXPECT_GT(picture.Count(RGB(0, 255, 0)), area / 2) << "face in the stored back colour";
    EXPECT_GT(picture.Count(RGB(255, 0, 0)), 5) << "caption in the stored fore colour (0xBBGGRR)";
  }
  SendMessageA(play, WM_MOUSEMOVE, 0, Centre(play));
  EXPECT_TRUE(Button(panel, IDC_PLAY_CAPTION)->IsHot());
  Picture hot(play);
  EXPECT_GT(hot.Count(RGB(0, 0, 255)), hot.size.right * hot.size.bottom / 2) << "hover colour";
}

TEST(CaptionButton, AMissingSymbolFontIsDrawnAsAnArrow) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  if (!Button(panel, IDC_ARROW_CAPTION)->DrawsArrowShape())
    GTEST_SKIP() << "Wingdings 3 is installed here, so the arrow is the font's own glyph";
  Picture picture(panel.GetDlgItem(IDC_ARROW_CAPTION));
  EXPECT_GT(picture.Count(RGB(0, 0, 0)), 10) << "the arrow is drawn in the fore colour";
}

TEST(CaptionButton, BadStoredStateFallsBack) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  Picture plain(panel.GetDlgItem(IDC_PLAIN_CAPTION));  // garbled colours and an impossible size
  EXPECT_GT(plain.Count(GetSysColor(COLOR_BTNFACE)), plain.size.right * plain.size.bottom / 2);
}

// Every button paints through one buffer that grows to the largest button: a larger button
// painted after a smaller one shows its whole face, a smaller one after it nothing of the
// larger one's picture, and painting again makes no GDI objects.
TEST(CaptionButton, ButtonsOfEverySizePaintTheirOwnFaceThroughTheSharedBuffer) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  panel.ShowWindow(SW_SHOWNA);
  HWND play = panel.GetDlgItem(IDC_PLAY_CAPTION), arrow = panel.GetDlgItem(IDC_ARROW_CAPTION);
  auto paintAndCount = [](HWND window, COLORREF colour) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(window, &client);
    WindowDc dc(window);
    int n = 0;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) n += GetPixel(dc.Get(), x, y) == colour;
    return std::make_pair(n, int(client.right * client.bottom));
  };
  paintAndCount(arrow, 0);
  auto [green, area] = paintAndCount(play, RGB(0, 255, 0));
  EXPECT_GT(green, area * 3 / 4) << "the larger button's face, right edge included";
  EXPECT_EQ(paintAndCount(arrow, RGB(0, 255, 0)).first, 0) << "nothing of the larger button";
  DWORD objects = testkit::GdiObjects();
  for (int i = 0; i < 20; ++i) paintAndCount(i % 2 ? play : arrow, 0);
  EXPECT_EQ(testkit::GdiObjects(), objects);
  EXPECT_FALSE(GetUpdateRect(play, nullptr, FALSE)) << "the paint leaves nothing to paint";
}

// The focus rectangle follows the focus: drawn while the button has it, gone when it leaves.
TEST(CaptionButton, TheFocusRectangleComesAndGoesWithTheFocus) {
  Panel panel;
  ASSERT_TRUE(panel.Create(IDD_CONTROL_PANEL));
  panel.ShowWindow(SW_SHOWNA);
  HWND play = panel.GetDlgItem(IDC_PLAY_CAPTION), plain = panel.GetDlgItem(IDC_PLAIN_CAPTION);
  SetFocus(plain);  // the dialog gave its first button the focus
  int unfocused = Picture(play).Count(RGB(0, 255, 0));
  SetFocus(play);
  EXPECT_LT(Picture(play).Count(RGB(0, 255, 0)), unfocused) << "the dotted rectangle over the face";
  SetFocus(plain);
  EXPECT_EQ(Picture(play).Count(RGB(0, 255, 0)), unfocused);
}
