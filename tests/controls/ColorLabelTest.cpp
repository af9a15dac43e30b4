// The colour label and the clock built on it, on real static controls: colours read back,
// brush rules, flashing steps and intervals, odd and failed fonts, the drawn border, the
// clock's ticks and alarm, and GDI use over a thousand repaints.
#include <gtest/gtest.h>

#include <vector>

#include "controls/ClockLabel.h"
#include "tests/support/TestKit.h"

namespace {
const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kRed = RGB(248, 56, 56), kNearBlack = RGB(1, 0, 0);

using testkit::Canvas;
using testkit::GdiObjects;

// Records the flash timers asked for; can refuse timers and fonts.
template <class Base> struct Recording : Base {
  using Base::Base;
  UINT_PTR StartFlashTimer(UINT ms) override {
    timers.push_back(ms);
    return failTimer ? 0 : Base::StartFlashTimer(ms);
  }
  HFONT CreateLabelFont(const LOGFONTA& font) override { return failFont ? nullptr : Base::CreateLabelFont(font); }
  void Tick(UINT_PTR id = CColorLabel::kFlashTimerId) const { this->SendMessage(WM_TIMER, id); }
  void Render(Canvas& canvas) const {
    this->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
  }
  HFONT Font() const { return WindowFont(this->m_hWnd); }
  std::vector<UINT> timers;
  bool failTimer = false;
  bool failFont = false;
};

// A visible window whose static controls start with the stock GUI font.
struct Host : CWnd {
  Host() { CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 240, 80, nullptr, nullptr); }
  HWND Static(int y, const char* text = "HHHH") const {
    HWND window = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 10, y, 120, 30,
                                  m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return window;
  }
};

struct ColorLabelTest : testing::Test {
  void SetUp() override { ASSERT_TRUE(label.SubclassWindow(host.Static(10))); }
  // The brush the label hands its static control, which paints with `dc` prepared.
  LOGBRUSH Brush(HDC dc) {
    LRESULT brush = 0;
    EXPECT_TRUE(label.OnChildNotify(WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(label.m_hWnd), &brush));
    LOGBRUSH info{};
    GetObjectA(reinterpret_cast<HGDIOBJ>(brush), sizeof info, &info);
    return info;
  }
  Host host;
  Recording<CColorLabel> label{1};
  Canvas canvas{120, 30};
};

int WallMilliseconds() {
  SYSTEMTIME wall;
  GetSystemTime(&wall);
  return wall.wMilliseconds;
}

struct ClockTest : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(clock.SubclassWindow(host.Static(10, "Static")));
    clock.SetTimeSource([this] { return now; });
  }
  static SYSTEMTIME At(int hour, int minute, int second = 0) {
    SYSTEMTIME time{2024, 5, 5, 17, WORD(hour), WORD(minute), WORD(second), 0};
    return time;
  }
  Host host;
  Recording<CClockLabel> clock;
  SYSTEMTIME now = At(9, 30);
};
}  // namespace

TEST_F(ColorLabelTest, PhaseOneIsBlackOnWhitePhaseZeroWhiteOnBlackUntilTheOffColoursChange) {
  label.Render(canvas);
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_GT(canvas.Count(kBlack), 20);
  EXPECT_EQ(label.SetPhase(0), 1);
  label.Render(canvas);
  EXPECT_EQ(canvas.At(0, 0), kBlack);
  EXPECT_GT(canvas.Count(kWhite), 20);
  label.SetOffTextColor(kRed);
  label.SetOffBkColor(kNearBlack);
  label.Render(canvas);
  EXPECT_EQ(canvas.At(0, 0), kNearBlack);
  EXPECT_GT(canvas.Count(kRed), 20);
}

TEST_F(ColorLabelTest, TheOffBackgroundRepaintsOnlyWhileTheBackgroundIsOff) {
  ValidateRect(label.m_hWnd, nullptr);
  EXPECT_EQ(label.SetOffBkColor(RGB(0, 0, 200)), kBlack);
  EXPECT_FALSE(GetUpdateRect(label.m_hWnd, nullptr, FALSE));
  label.SetPhase(0);
  ValidateRect(label.m_hWnd, nullptr);
  label.SetOffBkColor(RGB(0, 200, 0));
  EXPECT_TRUE(GetUpdateRect(label.m_hWnd, nullptr, FALSE));
  label.Render(canvas);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 200, 0));
}

TEST_F(ColorLabelTest, SolidBrushesAreTransparentTextAHatchIsOpaqueInBothPhases) {
  label.SetOnBkColor(RGB(10, 20, 30));
  EXPECT_EQ(Brush(canvas.Dc()).lbColor, RGB(10, 20, 30));
  EXPECT_EQ(GetBkMode(canvas.Dc()), TRANSPARENT);
  EXPECT_FALSE(label.SetHatch(TRUE, HS_CROSS));
  EXPECT_TRUE(label.SetHatch(TRUE, HS_CROSS));  // already on
  label.SetPhase(0);
  SetBkMode(canvas.Dc(), OPAQUE);
  LOGBRUSH hatch = Brush(canvas.Dc());
  EXPECT_EQ(hatch.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(hatch.lbColor, RGB(10, 20, 30));
  EXPECT_EQ(GetBkMode(canvas.Dc()), OPAQUE);
  EXPECT_EQ(GetBkColor(canvas.Dc()), kBlack);  // the gaps take the off colour

  // A patterned off background becomes plain black when the hatch goes on.
  label.SetHatch(FALSE, 0);
  BitmapHandle pattern(CreateBitmap(8, 8, 1, 1, nullptr));
  label.SetOffPattern(pattern.Get());
  EXPECT_EQ(Brush(canvas.Dc()).lbStyle, UINT(BS_PATTERN));
  label.SetHatch(TRUE, HS_CROSS);
  label.SetHatch(FALSE, 0);
  EXPECT_EQ(Brush(canvas.Dc()).lbStyle, UINT(BS_SOLID));
}

TEST_F(ColorLabelTest, FlashingTogglesNormalisedFlagsAtTheGivenIntervals) {
  label.SetPhase(5);
  EXPECT_TRUE(label.FlashWhole(TRUE, 0, 0.5f));
  label.Tick();
  EXPECT_EQ(label.GetBkPhase() * 10 + label.GetTextPhase(), 0);
  label.Tick();
  EXPECT_EQ(label.GetBkPhase() * 10 + label.GetTextPhase(), 11);
  label.FlashWhole(TRUE, 0, 0.0005f);
  label.FlashWhole(TRUE, 0, -2.0f);  // nonsense becomes the shortest timer
  label.FlashRhythm(TRUE, 0, 0.2f, 0.3f);
  label.Tick();
  label.Tick();
  EXPECT_EQ(label.timers, (std::vector<UINT>{500, 0, 0, 200, 300, 200}));

  label.timers.clear();
  label.FlashBurst(TRUE, 0, 0.1f, 1, 2.0f);  // one flash, a two-second pause, the same again
  for (int i = 0; i < 6; ++i) label.Tick();
  EXPECT_EQ(label.timers, (std::vector<UINT>{100, 100, 100, 2000, 100, 100, 2000}));
  EXPECT_EQ(label.GetBkPhase(), 1);

  label.FlashText(TRUE, 0.25f, 1);
  label.Tick();
  EXPECT_EQ(label.GetBkPhase() * 10 + label.GetTextPhase(), 10);
  EXPECT_TRUE(label.FlashWhole(FALSE, 0, 0));
  label.Tick();
  EXPECT_EQ(label.GetFlashMode(), CColorLabel::kFlashNone);
  EXPECT_EQ(label.GetBkPhase() * 10 + label.GetTextPhase(), 0);
  label.failTimer = true;
  EXPECT_FALSE(label.FlashWhole(TRUE, 0, 1.0f));
  EXPECT_EQ(label.GetFlashMode(), CColorLabel::kFlashWhole);
}

TEST_F(ColorLabelTest, AttributeSettersKeepTheFontButTheFaceSetterStartsAfresh) {
  EXPECT_TRUE(label.SetBold(1));
  EXPECT_EQ(label.GetLabelFont().lfWeight, FW_BOLD);
  HFONT bold = label.Font();
  EXPECT_TRUE(label.SetBold(2));
  EXPECT_EQ(label.GetLabelFont().lfWeight, FW_BOLD);
  EXPECT_NE(label.Font(), bold);
  EXPECT_TRUE(label.SetFontFace(12, "Liberation Serif"));
  LOGFONTA face = label.GetLabelFont();
  EXPECT_EQ(face.lfWeight, FW_NORMAL);
  EXPECT_STREQ(face.lfFaceName, "Liberation Serif");
  WindowDc screen(nullptr);
  EXPECT_EQ(face.lfHeight, -MulDiv(12, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72));
  EXPECT_FALSE(label.SetWeight(0));
  EXPECT_FALSE(label.SetWeight(1001));
  EXPECT_TRUE(label.SetWeight(1000));
}

TEST_F(ColorLabelTest, OddFontsStillPaintAndAFailedOneFallsBackToTheOriginalFont) {
  HFONT original = label.Font();
  const char* tooLong = "A face name far longer than the thirty-one characters a font allows";
  for (auto [points, face] : {std::pair{12, "Comic Sans MS"}, {0, "No Such Face"}, {1000, tooLong}, {-5, nullptr}}) {
    EXPECT_TRUE(label.SetFontFace(points, face)) << points;
    LOGFONTA info{};
    EXPECT_TRUE(GetObjectA(label.Font(), sizeof info, &info));
    label.Render(canvas);
  }
  label.failFont = true;
  EXPECT_FALSE(label.SetBold(1));
  EXPECT_EQ(label.Font(), original);
  label.Render(canvas);
  EXPECT_GT(canvas.Count(kBlack), 20);

  // A label unbound before its control is destroyed gives the control its font back first.
  HWND other = host.Static(40);
  {
    CColorLabel shortLived(1);
    shortLived.SubclassWindow(other);
    shortLived.SetFontFace(20, "Liberation Sans");
  }
  EXPECT_EQ(WindowFont(other), original);
}

TEST_F(ColorLabelTest, TheBorderIsDrawnInsideAndASunkenEdgeReplacesIt) {
  EXPECT_EQ(label.BorderWidth(), 2) << "a new label's border, once switched on, is two pixels";
  label.SetBorder(TRUE, 2, RGB(0, 0, 255));
  label.Render(canvas);
  EXPECT_EQ(canvas.At(0, 15), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(1, 15), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(2, 15), kWhite);
  EXPECT_EQ(canvas.At(119, 29), RGB(0, 0, 255));
  label.SetSunken(1);
  EXPECT_FALSE(label.HasBorder());
  EXPECT_TRUE(GetWindowLongA(label.m_hWnd, GWL_EXSTYLE) & WS_EX_STATICEDGE);
  label.Render(canvas);
  EXPECT_EQ(canvas.At(0, 15), kWhite);
}

TEST_F(ColorLabelTest, AThousandRepaintsLeakNoGdiObject) {
  label.SetBorder(TRUE, 1, RGB(1, 2, 3));
  label.SetFontFace(10, "Liberation Sans");
  auto repaint = [&](int times) {
    for (int i = 0; i < times; ++i) {
      label.SetPhase(i % 2);
      label.Render(canvas);
      RedrawWindow(label.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
  };
  repaint(10);
  DWORD before = GdiObjects();
  repaint(1000);
  EXPECT_EQ(GdiObjects(), before);
}

TEST_F(ClockTest, StartShowsTheTimeAndEveryTickRefreshesIt) {
  EXPECT_EQ(clock.GetWindowText(), "Static");
  EXPECT_TRUE(clock.Start());
  EXPECT_EQ(clock.GetWindowText(), "9:30 a.m.");
  now = At(13, 0, 12);
  clock.Tick(CClockLabel::kClockTimerId);
  EXPECT_EQ(clock.GetWindowText(), " 1:00 p.m.");
  now = At(0, 0);
  clock.Tick(CColorLabel::kFlashTimerId);  // the label's flash tick refreshes the time as well
  EXPECT_EQ(clock.GetWindowText(), "12:00 a.m.");
  clock.SetTwentyFourHour(1);  // reformats the time last read, at once
  EXPECT_EQ(clock.GetWindowText(), "00:00:00");
  now = At(14, 15, 1);
  EXPECT_TRUE(testkit::PumpUntil([&] { return clock.GetWindowText() == "14:15:01"; }, 3000));
}

TEST_F(ClockTest, TheAlarmRingsOnceWhenSetEnabledAndDue) {
  EXPECT_FALSE(clock.SetAlarm(0, 10));
  EXPECT_FALSE(clock.SetAlarm(24, 0));
  EXPECT_FALSE(clock.SetAlarm(7, 60));
  EXPECT_TRUE(clock.SetAlarm(7, 30));
  now = At(7, 30);
  clock.Tick(CClockLabel::kClockTimerId);
  EXPECT_TRUE(clock.timers.empty());  // not enabled
  EXPECT_EQ(clock.EnableAlarm(1), 0);
  for (SYSTEMTIME time : {At(7, 29), At(8, 10), At(8, 11)}) {
    now = time;
    clock.Tick(CClockLabel::kClockTimerId);
  }
  int hour, minute, fired;
  clock.GetAlarm(&hour, &minute, &fired);
  EXPECT_EQ(hour * 100 + minute, 730);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(clock.timers, std::vector<UINT>{1000});
  EXPECT_EQ(clock.GetFlashMode(), CColorLabel::kFlashWhole);

  // Setting it again stops the flashing in the off phase and arms it anew.
  EXPECT_TRUE(clock.SetAlarm(9, 0));
  EXPECT_EQ(clock.GetFlashMode(), CColorLabel::kFlashNone);
  EXPECT_EQ(clock.GetBkPhase(), 0);
  now = At(9, 0);
  clock.Tick(CClockLabel::kClockTimerId);
  EXPECT_EQ(clock.timers.size(), 2u);
}

// Started half-way through a second, the clock still ticks on the wall clock's whole
// seconds: the minute shows when it turns, and the tick shares its wake-up with the
// monitors', which tick there too.
TEST_F(ClockTest, ItTicksOnTheWallClocksWholeSeconds) {
  std::vector<int> msIntoSecond;
  clock.SetTimeSource([&] {
    SYSTEMTIME wall;
    GetSystemTime(&wall);
    msIntoSecond.push_back(wall.wMilliseconds);
    return now;
  });
  ASSERT_TRUE(testkit::PumpUntil([] { return WallMilliseconds() >= 450 && WallMilliseconds() < 550; }, 2000));
  ASSERT_TRUE(clock.Start());
  EXPECT_TRUE(testkit::PumpUntil([&] { return msIntoSecond.size() >= 4; }, 5000)) << "the start and three ticks";
  for (size_t i = 1; i < msIntoSecond.size(); ++i) EXPECT_LT(msIntoSecond[i], 150) << "tick " << i;
}

// The bar's set-up: red on practically black, a 12-point normal-weight font, sunken.
TEST_F(ClockTest, TheBarsClockShowsRedOnBlackInItsOwnFontWithoutLeaking) {
  clock.SetPhase(0);
  clock.SetOffTextColor(kRed);
  clock.SetOffBkColor(kNearBlack);
  clock.SetBold(1);
  clock.SetSunken(1);
  EXPECT_TRUE(clock.SetFontFace(12, "Comic Sans MS"));
  clock.Start();
  EXPECT_EQ(clock.GetLabelFont().lfWeight, FW_NORMAL);
  RECT client;
  clock.GetClientRect(&client);
  Canvas canvas(client.right, client.bottom);
  auto repaint = [&](int times) {
    for (int i = 0; i < times; ++i) {
      clock.Render(canvas);
      clock.Tick(CClockLabel::kClockTimerId);
    }
  };
  repaint(10);
  DWORD before = GdiObjects();
  repaint(1000);
  EXPECT_EQ(GdiObjects(), before);
  EXPECT_EQ(canvas.At(0, 0), kNearBlack);
  EXPECT_GT(canvas.Count(kRed), 30);
}
