// The clock's text and alarm rule, kept free of Windows so they can be checked anywhere.
#pragma once

#include <string>

// "7:05 a.m."-style text without seconds, or "07:05:09" in the 24-hour form.
// Hours 1..9 after noon are padded to two places with a blank (" 1:07 p.m."); before noon
// they are not ("9:30 a.m."). hour is 0..23.
std::string FormatClockText(int hour, int minute, int second, bool twentyFourHour);

// True once the time of day has reached the alarm time (both as hour and minute of the day).
bool AlarmDue(unsigned hour, unsigned minute, unsigned alarmHour, unsigned alarmMinute);
