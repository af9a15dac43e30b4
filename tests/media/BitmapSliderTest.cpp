// The bitmap slider: the parent's picture captured under a real trackbar and read back,
// black kept black, the capture kept once made, and no cache for a slider never painted.
#include "media/BitmapSlider.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/BitmapDialog.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
using testkit::Canvas;
using testkit::GdiObjects;

// Pixel (x, y) of the parent's artwork; never black.
COLORREF Art(int x, int y, int shift = 0) { return RGB((x + shift) % 250 + 3, y + 20, 90); }

// A window that erases to known artwork and gives its trackbars a chosen background brush.
struct ArtParent : CWnd {
  ArtParent() : art(300, 100) {
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 300; ++x) SetPixel(art.Dc(), x, y, Art(x, y));
    CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr);
    HWND trackbar = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_BOTH | TBS_NOTICKS, 40, 20, 120,
                                    30, m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    slider.SubclassWindow(trackbar);
  }
  BOOL OnEraseBkgnd(HDC dc) {
    BitBlt(dc, 0, 0, 300, 100, art.Dc(), 0, 0, SRCCOPY);
    return TRUE;
  }
  HBRUSH OnCtlColor(HDC dc, HWND) {
    SetBkColor(dc, RGB(128, 128, 128));
    return brush.Get();
  }
  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {
        OnMessage<WM_ERASEBKGND>(&ArtParent::OnEraseBkgnd),
        OnMessage<WM_CTLCOLORSTATIC>(&ArtParent::OnCtlColor),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
  }
  void Render(Canvas& canvas) const {
    slider.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
  }
  Canvas art;
  BrushHandle brush{CreateSolidBrush(RGB(128, 128, 128))};
  CBitmapSlider slider;
};

// A pattern brush of black and grey pixels in a checkerboard.
BrushHandle Checkerboard() {
  WORD rows[8];
  for (int y = 0; y < 8; ++y) rows[y] = y % 2 ? 0xAA : 0x55;
  BitmapHandle bits(CreateBitmap(8, 8, 1, 1, rows));
  return BrushHandle(CreatePatternBrush(bits.Get()));
}
}  // namespace

TEST(BitmapSlider, ShowsTheParentsPictureUnderItsChannelAndThumbAndKeepsIt) {
  ArtParent parent;
  EXPECT_FALSE(parent.slider.HasBackgroundCache());
  Canvas canvas(120, 30);
  parent.Render(canvas);
  EXPECT_TRUE(parent.slider.HasBackgroundCache());
  for (auto [x, y] : {std::pair{1, 1}, {118, 1}, {100, 28}}) EXPECT_EQ(canvas.At(x, y), Art(40 + x, 20 + y)) << x;
  int drawnOver = 0;
  for (int x = 0; x < 120; ++x) drawnOver += canvas.At(x, 12) != Art(40 + x, 32);
  EXPECT_GT(drawnOver, 90);  // the channel across the middle

  // Neither a changed picture nor a move of the parent refreshes the capture.
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) SetPixel(parent.art.Dc(), x, y, Art(x, y, 7));
  parent.MoveWindow(50, 300, 300, 100);
  parent.Render(canvas);
  EXPECT_EQ(canvas.At(1, 1), Art(41, 21));
  EXPECT_EQ(parent.slider.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc())), FALSE);
}

TEST(BitmapSlider, PixelsTheTrackbarDrewBlackStayBlack) {
  ArtParent parent;
  parent.brush = Checkerboard();
  Canvas canvas(120, 30);
  parent.Render(canvas);
  for (int y = 0; y < 4; ++y)
    for (int x = 100; x < 104; ++x)
      EXPECT_EQ(canvas.At(x, y), (x + y) % 2 ? Art(40 + x, 20 + y) : RGB(0, 0, 0)) << x << "," << y;
}

TEST(BitmapSlider, ASliderNeverPaintedMakesNoCacheAndPaintingLeaksNothing) {
  ArtParent parent;
  DWORD before = GdiObjects();
  {
    CBitmapSlider hidden;
    hidden.SubclassWindow(CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, nullptr,
                                          GetModuleHandleA(nullptr), nullptr));
    EXPECT_FALSE(hidden.HasBackgroundCache());
    hidden.DestroyWindow();
  }
  EXPECT_EQ(GdiObjects(), before);

  Canvas canvas(120, 30);
  parent.Render(canvas);
  before = GdiObjects();
  for (int i = 0; i < 1000; ++i) {
    parent.slider.SetPos(i % 100);
    parent.Render(canvas);
  }
  EXPECT_EQ(GdiObjects(), before);
}

// The bar's two trackbars bound as bitmap sliders, the volume set up as at start.
TEST(BitmapSlider, TheBarsSlidersSitOnItsArtwork) {
  struct Bar : CBitmapDialog {
    Bar() : CBitmapDialog(IDD_MAIN_BAR, nullptr) {}
    void DoDataExchange(CDataExchange* pDX) override {
      CBitmapDialog::DoDataExchange(pDX);
      DDX_Control(pDX, IDC_SEEK_SLIDER, seek);
      DDX_Control(pDX, IDC_VOLUME_SLIDER, volume);
    }
    BOOL OnInitDialog() override {
      CBitmapDialog::OnInitDialog();
      LoadBackground(IDB_BAR_BACKGROUND);
      SetDrawMode(kCentre);
      volume.SetRange(0, 100, FALSE);
      volume.SetPos(25);
      return TRUE;
    }
    CBitmapSlider seek, volume;
  } bar;
  ASSERT_TRUE(bar.Create(IDD_MAIN_BAR));
  EXPECT_EQ(bar.volume.GetRangeMax(), 100);
  EXPECT_EQ(bar.volume.GetPos(), 25);

  RECT client;
  bar.GetClientRect(&client);
  Canvas art(client.right, client.bottom);
  bar.DrawBackground(art.Dc(), client.right, client.bottom);
  for (CBitmapSlider* slider : {&bar.seek, &bar.volume}) {
    RECT place;
    slider->GetWindowRect(&place);
    MapWindowPoints(nullptr, bar.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    Canvas canvas(place.right - place.left, place.bottom - place.top);
    slider->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    int x = canvas.width - 2;
    EXPECT_EQ(canvas.At(x, 1), art.At(place.left + x, place.top + 1));
  }
  bar.DestroyWindow();
}
