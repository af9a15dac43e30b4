// The hover button: faces, layouts, bitmaps and gradients read back pixel by pixel; check
// states, groups and the split arrow driven by real mouse messages; GDI use.
#include "controls/HoverButton.h"
#include "tests/support/TestKit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const UINT kShapeBitmap = 902;  // 12 x 10: magenta, a blue square at 2..5, a white block at 8..9
const COLORREF kMagenta = RGB(255, 0, 255), kBlue = RGB(0, 0, 200), kWhite = RGB(255, 255, 255);
const COLORREF kMarker = RGB(1, 2, 3), kRed = RGB(255, 0, 0);
const int kW = 120, kH = 24;

COLORREF Sys(int index) { return GetSysColor(index); }

// Pictures start in the marker colour, so untouched pixels show.
struct Canvas : testkit::Canvas {
  Canvas(int w, int h) : testkit::Canvas(w, h, kMarker) {}
};
using testkit::GdiObjects;

struct HoverButtonTest : testing::Test {
  void SetUp() override {
    parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, nullptr, nullptr);
  }
  std::unique_ptr<CHoverButton> Make(int type, DWORD style = BS_PUSHBUTTON, const char* text = "ab") {
    HMENU id = reinterpret_cast<HMENU>(INT_PTR(++lastId));  // owner drawing needs a non-zero id
    HWND window = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | style, 0, 0, kW, kH, parent.m_hWnd, id,
                                  GetModuleHandleA(nullptr), nullptr);
    auto button = std::make_unique<CHoverButton>();
    EXPECT_TRUE(button->SubclassWindow(window));
    button->SetButtonType(type);
    button->SetCaptionColor(kRed);
    return button;
  }
  static void Draw(CHoverButton& button, Canvas& canvas, UINT state = 0) {
    RECT all{0, 0, canvas.width, canvas.height};
    button.DrawItem({ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, state, button.m_hWnd, canvas.Dc(), all, 0});
  }
  static void Click(CHoverButton& button, int x = 5, int y = 5) {
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  CWnd parent;
  int lastId = 100;
};
}  // namespace

TEST_F(HoverButtonTest, BindingMakesTheButtonOwnerDrawnAndItPaintsThroughItsParent) {
  auto button = Make(CHoverButton::kStandard, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(button->m_hWnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  Canvas canvas(kW, kH);
  button->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
  EXPECT_NE(canvas.Leftmost(kRed), -1);
  EXPECT_EQ(canvas.At(kW / 2, 2), Sys(COLOR_BTNFACE));

  // A former default button gets the dark default frame when focused with style 2.
  button->SetFocusStyle(2);
  Draw(*button, canvas, ODS_FOCUS);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_BTNHIGHLIGHT));
  auto plain = Make(CHoverButton::kStandard);
  plain->SetFocusStyle(2);
  Draw(*plain, canvas, ODS_FOCUS);
  EXPECT_NE(canvas.At(0, 0), Sys(COLOR_3DDKSHADOW));
}

TEST_F(HoverButtonTest, AFlatButtonShowsAFaceOnlyWhileHoveredAndTypeTwelveDropsTheFlatLook) {
  auto button = Make(CHoverButton::kFlat);
  Canvas canvas(kW, kH);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(kW - 1, kH - 1), Sys(COLOR_BTNFACE));

  button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(button->IsHovering());
  Draw(*button, canvas);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.At(kW - 1, kH - 1), Sys(COLOR_BTNSHADOW));
  Draw(*button, canvas, ODS_SELECTED);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_BTNSHADOW));
  button->SendMessage(WM_MOUSELEAVE);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_BTNFACE));

  button->SetButtonType(12);
  EXPECT_EQ(button->GetButtonType(), CHoverButton::kFlat);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.At(kW - 1, kH - 1), Sys(COLOR_3DDKSHADOW));  // the standard face's frame
}

TEST_F(HoverButtonTest, LayoutsPlaceOrHideTheText) {
  auto button = Make(CHoverButton::kStandard);
  Canvas canvas(kW, kH);
  button->SetTextLayout(CHoverButton::kLeft);
  Draw(*button, canvas);
  int left = canvas.Leftmost(kRed);
  EXPECT_GE(left, 0);
  EXPECT_LT(left, 8);
  button->SetTextLayout(CHoverButton::kCentred);
  Draw(*button, canvas);
  int centred = canvas.Leftmost(kRed);
  EXPECT_GT(centred, 40);
  Draw(*button, canvas, ODS_SELECTED);  // pressed: one pixel right and down
  EXPECT_EQ(canvas.Leftmost(kRed), centred + 1);
  button->SetTextLayout(CHoverButton::kWrapped);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.Leftmost(kRed), left);
  button->SetTextLayout(CHoverButton::kNoText);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.Leftmost(kRed), -1);
  button->SetTextLayout(CHoverButton::kLeft);
  button->SetTextLayout(4);
  EXPECT_EQ(button->GetTextLayout(), CHoverButton::kLeft);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.Leftmost(kRed), -1);

  auto link = Make(CHoverButton::kHyperlink);
  Draw(*link, canvas);
  EXPECT_NE(canvas.Leftmost(CHoverButton::kHyperlinkColor), -1);
  EXPECT_EQ(canvas.Leftmost(kRed), -1);
}

TEST_F(HoverButtonTest, ABitmapPushesTheTextRightAndOneThatDoesNotLoadIsSkipped) {
  auto button = Make(CHoverButton::kStandard);
  button->SetTextLayout(CHoverButton::kLeft);
  Canvas canvas(kW, kH);
  Draw(*button, canvas);
  int textOnly = canvas.Leftmost(kRed);
  button->SetBitmap(4242, kMagenta);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.Leftmost(kRed), textOnly);
  button->SetBitmap(kShapeBitmap, kMagenta);
  Draw(*button, canvas);
  EXPECT_EQ(canvas.Leftmost(kRed), textOnly + 12);
  int top = (kH - 10) / 2;
  EXPECT_EQ(canvas.At(3, top + 3), kBlue);
  EXPECT_EQ(canvas.At(7, top + 3), Sys(COLOR_BTNFACE));  // transparent: the face shows
}

TEST_F(HoverButtonTest, TransparentAndEmbossedBitmaps) {
  BitmapHandle shape = LoadBitmapResource(kShapeBitmap);
  ASSERT_TRUE(shape);
  Canvas canvas(20, 20);
  CHoverButton::DrawTransparent(canvas.Dc(), shape.Get(), 5, 5, kMagenta);
  EXPECT_EQ(canvas.At(5, 5), kMarker);
  EXPECT_EQ(canvas.At(5 + 3, 5 + 3), kBlue);
  EXPECT_EQ(canvas.At(5 + 8, 5 + 3), kWhite);
  EXPECT_EQ(canvas.At(5 + 11, 5 + 9), kMarker);

  Canvas embossed(20, 20);
  CHoverButton::DrawEmbossed(embossed.Dc(), shape.Get(), 5, 5, kMagenta);
  EXPECT_EQ(embossed.At(5 + 2, 5 + 2), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(embossed.At(5 + 6, 5 + 3), Sys(COLOR_BTNHIGHLIGHT));  // one pixel right of the shape
  EXPECT_EQ(embossed.At(5 + 8, 5 + 3), Sys(COLOR_BTNFACE));       // white counts as background
  EXPECT_EQ(embossed.At(5, 5), Sys(COLOR_BTNFACE));               // so does the transparent colour
}

TEST_F(HoverButtonTest, GradientsBandedAndFromTheSystem) {
  Canvas canvas(10, 255);
  CHoverButton::FillGradient(canvas.Dc(), {0, 0, 10, 255}, RGB(0, 0, 0), RGB(255, 0, 0), true, false);
  for (int y : {0, 100, 254}) EXPECT_EQ(canvas.At(5, y), RGB(y, 0, 0)) << y;
  Canvas wide(255, 4);
  CHoverButton::FillGradient(wide.Dc(), {0, 0, 255, 4}, RGB(0, 200, 0), RGB(0, 200, 255), false, false);
  EXPECT_EQ(wide.At(51, 2), RGB(0, 200, 51));

  CHoverButton keepsTheLibraryLoaded;
  CHoverButton::FillGradient(canvas.Dc(), {0, 0, 10, 255}, RGB(255, 255, 255), RGB(200, 200, 216), true);
  EXPECT_EQ(canvas.At(5, 0), RGB(255, 255, 255));
  EXPECT_NEAR(GetRValue(canvas.At(5, 254)), 200, 2);
  EXPECT_NEAR(GetBValue(canvas.At(5, 254)), 216, 2);

  auto button = Make(CHoverButton::kStandard);
  button->SetTextLayout(CHoverButton::kNoText);
  button->SetGradient(TRUE);
  Canvas face(kW, kH);
  Draw(*button, face);
  EXPECT_EQ(face.At(kW / 2, 1), RGB(255, 255, 255));
  EXPECT_NEAR(GetRValue(face.At(kW / 2, kH - 3)), 200, 10);
}

TEST_F(HoverButtonTest, ClicksToggleCheckablesAndGroupsStayExclusive) {
  auto push = Make(CHoverButton::kCheckPush);
  Click(*push);
  EXPECT_EQ(push->GetCheck(), 1);
  Click(*push);
  EXPECT_EQ(push->GetCheck(), 0);
  Click(*push, kW + 5, 5);  // released outside: no change
  EXPECT_EQ(push->GetCheck(), 0);

  auto radio = Make(CHoverButton::kRadio);
  Click(*radio);
  Click(*radio);
  EXPECT_EQ(radio->GetCheck(), 1);

  std::vector<std::unique_ptr<CHoverButton>> group;
  for (int i = 0; i < 3; ++i) {
    group.push_back(Make(CHoverButton::kCheckBox));
    group.back()->SetGroup("sizes");
  }
  Click(*group[0]);
  Click(*group[1]);
  Click(*group[1]);
  EXPECT_EQ(group[0]->GetCheck(), 0);
  EXPECT_EQ(group[1]->GetCheck(), 1);
  group[2]->SetCheck(1);
  EXPECT_EQ(group[1]->GetCheck(), 0);

  // Members that are gone leave the group; the name can be used again safely.
  group.clear();
  auto a = Make(CHoverButton::kCheckPush), b = Make(CHoverButton::kCheckPush);
  a->SetGroup("sizes");
  b->SetGroup("sizes");
  a->SetCheck(1);
  b->SetCheck(1);
  EXPECT_EQ(a->GetCheck(), 0);
  EXPECT_EQ(b->GetCheck(), 1);
  b->SetButtonType(CHoverButton::kFlatCheckPush);  // still a checkable push button
  EXPECT_EQ(b->GetCheck(), 1);
  b->SetButtonType(CHoverButton::kStandard);
  EXPECT_EQ(b->GetCheck(), 0);

  // The arrow part of a split button is its rightmost eighteen pixels.
  auto split = Make(CHoverButton::kSplit);
  split->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kW - 18, 5));
  EXPECT_TRUE(split->IsArrowPressed());
  split->ReleaseSplit();
  EXPECT_FALSE(split->IsArrowPressed());
  Click(*split, kW - 19, 5);
  EXPECT_FALSE(split->IsArrowPressed());
}

TEST_F(HoverButtonTest, AThousandRepaintsOfEveryLookLeakNoGdiObject) {
  auto button = Make(CHoverButton::kStandard);
  button->SetBitmap(kShapeBitmap, kMagenta);
  button->SetFocusStyle(2);
  Canvas canvas(kW, kH);
  auto drawAll = [&](int times) {
    for (int i = 0; i < times; ++i) {
      button->SetButtonType(i % CHoverButton::kTypeCount);
      button->SetGradient(i % 3 == 0);
      Draw(*button, canvas, i % 2 ? ODS_DISABLED : ODS_SELECTED | ODS_FOCUS);
      button->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    }
  };
  drawAll(100);  // the system's own caches (check-box glyphs and the like) fill up first
  DWORD before = GdiObjects();
  drawAll(1000);
  EXPECT_EQ(GdiObjects(), before);
}
