// CClockLabel: a colour label that shows the local time of day and refreshes it once a
// second from its own window timer. It can also ring an alarm by flashing the whole label.
#pragma once

#include <functional>

#include "controls/ColorLabel.h"
#include "framework/TimerBeat.h"

class CClockLabel : public CColorLabel {
 public:
  static constexpr UINT_PTR kClockTimerId = 2;
  using TimeSource = std::function<SYSTEMTIME()>;

  CClockLabel();
  ~CClockLabel() override;

  // Shows the time now and starts the one-second timer; FALSE when no timer could be made.
  BOOL Start();
  void SetTwentyFourHour(int on);
  // Hours 1..23 and minutes 0..59; anything else is refused and changes nothing.
  BOOL SetAlarm(unsigned hour, unsigned minute);
  void GetAlarm(int* hour, int* minute, int* fired) const;
  int EnableAlarm(int enable);

  // Where the time comes from: the local time unless a test gives another source.
  void SetTimeSource(TimeSource source) { m_timeSource = std::move(source); }
  const CString& GetTimeText() const { return m_timeText; }

  const MessageMap* GetMessageMap() const override;

 protected:
  bool OnTimer(UINT_PTR id);

 private:
  void ReadTime();
  void ShowTime();
  void CheckAlarm();

  int m_alarmEnabled = 0;
  int m_alarmFired = 0;
  CString m_timeText;
  int m_twentyFourHour = 0;
  SYSTEMTIME m_now{};
  int m_alarmSet = 0;
  unsigned m_alarmHour = 0;
  unsigned m_alarmMinute = 0;
  TimeSource m_timeSource;
  CTimerBeat m_beat{1000};
};
