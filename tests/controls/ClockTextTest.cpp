// The clock's text forms and its alarm rule.
#include "controls/ClockText.h"

#include <gtest/gtest.h>

TEST(ClockText, TwelveHourFormPadsAfternoonHoursAndTwentyFourHourFormShowsSeconds) {
  const char* twelve[] = {"12:00 a.m.", "9:30 a.m.", "11:59 a.m.", "12:00 p.m.", " 1:00 p.m."};
  const char* full[] = {"00:00:00", "09:30:00", "11:59:00", "12:00:00", "13:00:00"};
  int times[][2] = {{0, 0}, {9, 30}, {11, 59}, {12, 0}, {13, 0}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(FormatClockText(times[i][0], times[i][1], 0, false), twelve[i]);
    EXPECT_EQ(FormatClockText(times[i][0], times[i][1], 0, true), full[i]);
  }
  EXPECT_EQ(FormatClockText(7, 8, 9, true), "07:08:09");
}

TEST(ClockText, AnAlarmIsDueFromItsMinuteOnEvenInALaterHourWithASmallerMinute) {
  EXPECT_FALSE(AlarmDue(7, 29, 7, 30));
  EXPECT_TRUE(AlarmDue(7, 30, 7, 30));
  EXPECT_TRUE(AlarmDue(8, 10, 7, 30));
  EXPECT_TRUE(AlarmDue(8, 45, 7, 30));
  EXPECT_FALSE(AlarmDue(6, 59, 7, 30));
}
