// The bar's background: tile, centre and stretch read back pixel by pixel.
#include "controls/BitmapDialog.h"

#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
const UINT kTile10 = 901;
const UINT kTruncated10 = 903;

COLORREF TilePixel(int x, int y) { return RGB(20 * x + 10, 20 * y + 10, 128); }

// Pictures start in a marker colour, so untouched pixels show.
const COLORREF kMarker = RGB(1, 2, 3);
struct Canvas : testkit::Canvas {
  Canvas(int w, int h) : testkit::Canvas(w, h, kMarker) {}
};

// A dialog that is never shown: drawing is asked of it directly.
struct Background : CBitmapDialog {
  Background() : CBitmapDialog(IDD_MAIN_BAR, nullptr) {}
  // The ten-pixel tile, drawn in `mode`.
  explicit Background(int mode) : Background() {
    LoadBackground(kTile10);
    SetDrawMode(mode);
  }
};

using testkit::GdiObjects;
}  // namespace

TEST(BitmapDialog, TileRepeatsTheBitmapEdgeToEdgeFromTheTopLeft) {
  Background dialog;
  ASSERT_TRUE(dialog.LoadBackground(kTile10));
  Canvas canvas(25, 15);
  dialog.DrawBackground(canvas.Dc(), 25, 15);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 25; ++x) ASSERT_EQ(canvas.At(x, y), TilePixel(x % 10, y % 10)) << x << "," << y;
}

TEST(BitmapDialog, CentreLeavesTheBackgroundAroundAndStartsAWideBitmapAtTheLeft) {
  Background dialog(CBitmapDialog::kCentre);
  Canvas canvas(25, 15);
  dialog.DrawBackground(canvas.Dc(), 25, 15);
  EXPECT_EQ(canvas.At(7, 2), TilePixel(0, 0));  // (25 - 10) / 2, (15 - 10) / 2
  EXPECT_EQ(canvas.At(16, 11), TilePixel(9, 9));
  EXPECT_EQ(canvas.At(6, 2), kMarker);
  EXPECT_EQ(canvas.At(17, 12), kMarker);

  Canvas narrow(6, 30);  // narrower than the bitmap, taller: x = 0, centred vertically
  dialog.DrawBackground(narrow.Dc(), 6, 30);
  EXPECT_EQ(narrow.At(0, 10), TilePixel(0, 0));
  EXPECT_EQ(narrow.At(5, 19), TilePixel(5, 9));
  EXPECT_EQ(narrow.At(0, 9), kMarker);
}

TEST(BitmapDialog, StretchFillsTheWholeArea) {
  Background dialog(CBitmapDialog::kStretch);
  Canvas canvas(20, 30);
  dialog.DrawBackground(canvas.Dc(), 20, 30);
  EXPECT_EQ(canvas.At(0, 0), TilePixel(0, 0));
  EXPECT_EQ(canvas.At(19, 29), TilePixel(9, 9));
  EXPECT_EQ(canvas.At(9, 14), TilePixel(4, 4));
}

TEST(BitmapDialog, ModesOutsideTheThreeAreIgnored) {
  Background dialog;
  dialog.SetDrawMode(CBitmapDialog::kCentre);
  dialog.SetDrawMode(3);
  dialog.SetDrawMode(-1);
  EXPECT_EQ(dialog.GetDrawMode(), CBitmapDialog::kCentre);
}

TEST(BitmapDialog, AMissingOrCutShortBitmapLeavesNoneAndReloadingMakesNoGdiObjects) {
  Background dialog;
  EXPECT_FALSE(dialog.LoadBackground(4242));
  EXPECT_EQ(dialog.GetBackground(), nullptr);
  ASSERT_TRUE(dialog.LoadBackground(kTile10));
  EXPECT_FALSE(dialog.LoadBackground(kTruncated10)) << "its pixels would be read past the resource";
  EXPECT_EQ(dialog.GetBackground(), nullptr);
  Canvas canvas(5, 5);
  dialog.DrawBackground(canvas.Dc(), 5, 5);
  EXPECT_EQ(canvas.At(2, 2), kMarker);
  dialog.LoadBackground(kTile10);
  DWORD before = GdiObjects();
  for (int i = 0; i < 50; ++i) dialog.LoadBackground(i % 2 ? kTile10 : IDB_BAR_BACKGROUND);
  EXPECT_LE(GdiObjects(), before + 1);
}

TEST(BitmapDialog, TheBarErasesToItsArtworkCentredOverTheDialogBackground) {
  Background dialog;
  ASSERT_TRUE(dialog.Create(IDD_MAIN_BAR));
  dialog.LoadBackground(IDB_BAR_BACKGROUND);
  dialog.SetDrawMode(CBitmapDialog::kCentre);
  RECT client;
  dialog.GetClientRect(&client);
  Canvas canvas(client.right, client.bottom);
  DWORD before = GdiObjects();
  for (int i = 0; i < 200; ++i)
    EXPECT_EQ(dialog.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc())), TRUE);
  EXPECT_EQ(GdiObjects(), before);

  Canvas art(1021, 92);
  dialog.DrawBackground(art.Dc(), 1021, 92);
  int top = client.bottom > 92 ? (client.bottom - 92) / 2 : 0;
  EXPECT_EQ(canvas.At(0, top), art.At(0, 0));
  EXPECT_EQ(canvas.At(client.right - 1, top + 45), art.At(client.right - 1, 45));
  if (top > 0) {
    EXPECT_EQ(canvas.At(10, 0), GetSysColor(COLOR_BTNFACE));
  }
  dialog.DestroyWindow();
}
