#include "app/BarPlacement.h"

#include <gtest/gtest.h>

namespace {
BarFlags Flags(bool bottom, bool memory, bool cpu, bool mp3) {
  BarFlags f;
  f.loadBottom = bottom;
  f.hideMemory = memory;
  f.hideCpu = cpu;
  f.hideMp3 = mp3;
  return f;
}
}  // namespace

TEST(BarPlacement, EveryCombinationOnA1024By768Screen) {
  // The strongest hiding option sets x and width; loadbottom sets y.
  const BarRect widths[] = {{14, 0, 989, 97}, {80, 0, 862, 97}, {117, 0, 790, 97}, {220, 0, 581, 97}};
  for (int bits = 0; bits < 16; ++bits) {
    bool bottom = bits & 1, memory = bits & 2, cpu = bits & 4, mp3 = bits & 8;
    auto placed = BarPlacement(Flags(bottom, memory, cpu, mp3), 1024, 768);
    if (!bottom && !memory && !cpu && !mp3) {
      EXPECT_FALSE(placed) << "no option keeps the template place";
      continue;
    }
    ASSERT_TRUE(placed) << bits;
    BarRect want = mp3 ? widths[3] : cpu ? widths[2] : memory ? widths[1] : widths[0];
    want.y = bottom ? 654 : 0;
    EXPECT_EQ(*placed, want) << "flags " << bits;
  }
}

TEST(BarPlacement, TheTableRowsNamedForTheBar) {
  EXPECT_EQ(*BarPlacement(Flags(true, false, false, false), 1024, 768), (BarRect{14, 654, 989, 97}));
  EXPECT_EQ(*BarPlacement(Flags(false, false, true, true), 1024, 768), (BarRect{220, 0, 581, 97}));
  EXPECT_EQ(*BarPlacement(Flags(false, true, false, false), 1024, 768), (BarRect{80, 0, 862, 97}));
}

TEST(BarPlacement, OtherScreensKeepTheBarCentredAndAtTheChosenEdge) {
  EXPECT_EQ(*BarPlacement(Flags(true, false, false, false), 1920, 1080), (BarRect{462, 966, 989, 97}));
  EXPECT_EQ(*BarPlacement(Flags(false, false, true, false), 1920, 1080), (BarRect{565, 0, 790, 97}));
  EXPECT_EQ(*BarPlacement(Flags(true, true, false, true), 1920, 1080), (BarRect{668, 966, 581, 97}));
  // Still flush with the bottom edge on a small screen.
  BarRect small = *BarPlacement(Flags(true, false, false, false), 800, 600);
  EXPECT_EQ(small.y + 114, 600);
  EXPECT_EQ(small.x, 14 - 112);
}
