#include "controls/ClockText.h"

#include <cstdio>

std::string FormatClockText(int hour, int minute, int second, bool twentyFourHour) {
  char text[32];
  if (twentyFourHour) std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
  else if (hour == 0) std::snprintf(text, sizeof text, "%2d:%02d a.m.", 12, minute);
  else if (hour < 12) std::snprintf(text, sizeof text, "%d:%02d a.m.", hour, minute);
  else if (hour == 12) std::snprintf(text, sizeof text, "%2d:%02d p.m.", 12, minute);
  else std::snprintf(text, sizeof text, "%2d:%02d p.m.", hour - 12, minute);
  return text;
}

// Compared as one time of day: an alarm at 7:30 is due at 8:10 too, so a clock started
// after the alarm time still rings rather than waiting for minute 30 of a later hour.
bool AlarmDue(unsigned hour, unsigned minute, unsigned alarmHour, unsigned alarmMinute) {
  return hour * 60 + minute >= alarmHour * 60 + alarmMinute;
}
