#include "controls/ClockLabel.h"

#include <utility>

#include "controls/ClockText.h"
#include "framework/Trace.h"

namespace {
SYSTEMTIME LocalTimeNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}
}  // namespace

CClockLabel::CClockLabel() : CColorLabel(1), m_timeSource(&LocalTimeNow) {}

// A clock unbound from a control that lives on stops ticking into it.
CClockLabel::~CClockLabel() {
  if (m_hWnd) KillTimer(kClockTimerId);
}

const MessageMap* CClockLabel::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_TIMER>(&CClockLabel::OnTimer),
  };
  static const MessageMap map{CColorLabel::GetMessageMap(), entries};
  return &map;
}

void CClockLabel::ReadTime() { m_now = m_timeSource ? m_timeSource() : LocalTimeNow(); }

void CClockLabel::ShowTime() {
  CString text = FormatClockText(m_now.wHour, m_now.wMinute, m_now.wSecond, m_twentyFourHour != 0).c_str();
  // The text changes once a minute: repainting it every second would only cost time. The
  // text is the clock's own, so what it set last is what shows (asking the window would send
  // it a message through its subclass chain, a few server calls each second under Wine).
  if (text == m_timeText) return;
  m_timeText = text;
  SetText(m_timeText);
}

// The one-second timer ticks on the wall clock's whole seconds: the minute shows when it
// turns, and the tick shares its wake-up with the monitors'.
BOOL CClockLabel::Start() {
  ReadTime();
  ShowTime();
  return m_hWnd && SetTimer(kClockTimerId, m_beat.First()) != 0;
}

void CClockLabel::SetTwentyFourHour(int on) {
  m_twentyFourHour = on;
  ShowTime();
}

BOOL CClockLabel::SetAlarm(unsigned hour, unsigned minute) {
  if (hour == 0 || hour > 23 || minute > 59) return FALSE;
  m_alarmSet = 1;
  if (m_alarmFired) {
    FlashWhole(FALSE, 0, 0);
    m_alarmFired = 0;
  }
  m_alarmHour = hour;
  m_alarmMinute = minute;
  return TRUE;
}

void CClockLabel::GetAlarm(int* hour, int* minute, int* fired) const {
  if (hour) *hour = int(m_alarmHour);
  if (minute) *minute = int(m_alarmMinute);
  if (fired) *fired = m_alarmFired;
}

int CClockLabel::EnableAlarm(int enable) { return std::exchange(m_alarmEnabled, enable); }

void CClockLabel::CheckAlarm() {
  if (m_alarmFired || !m_alarmSet || !m_alarmEnabled) return;
  if (!AlarmDue(m_now.wHour, m_now.wMinute, m_alarmHour, m_alarmMinute)) return;
  FlashWhole(TRUE, 0, 1.0f);
  m_alarmFired = 1;
}

// Every tick refreshes the text. Timer 2 is the clock's own; any other tick is the label's
// flashing, which goes on to the label's row.
bool CClockLabel::OnTimer(UINT_PTR id) {
  ReadTime();
  ShowTime();
  CheckAlarm();
  if (id != kClockTimerId) return false;
  if (UINT next = m_beat.Next()) TRACE_IF_FALSE(SetTimer(kClockTimerId, next));
  return true;
}
