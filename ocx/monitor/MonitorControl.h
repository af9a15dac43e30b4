// CMonitorControl: a small system monitor on the bar, CPU use or memory in use, drawn as a
// scrolling history graph with the current value written over it.
//
// Stored state (from the template), the monitor's eight values:
//   kind      0 CPU in percent, 1 memory in use in megabytes
//   line      colour of the graph
//   back      background colour
//   grid      colour of the grid lines and the level marks
//   interval  milliseconds between samples (clamped to 100..60000); monitors with the
//             same interval sample on one shared timer
//   scale     the value at the top of the graph; for memory a scale below the machine's
//             physical memory is raised to it, so the graph never runs off the top
//   high, low levels in percent of the scale, drawn as dotted marks; the value text is
//             white, and turns to the line colour above `high`
#pragma once

#include <deque>

#include "framework/BufferedPaint.h"
#include "framework/Handles.h"
#include "ocx/HostedControl.h"
#include "ocx/monitor/MonitorSampler.h"

class CMonitorControl : public CHostedControl {
 public:
  static void Register();

  // For tests: takes a reading now, as the timer does.
  void TakeSample(double value);
  const std::deque<double>& History() const { return m_history; }
  double Scale() const { return m_scale; }
  UINT Interval() const { return m_interval; }
  CString ValueText() const;

  const MessageMap* GetMessageMap() const override;

 protected:
  void OnCreateControl() override;
  void OnPaint();
  void OnPrintClient(HDC dc, UINT drawFlags);
  BOOL OnEraseBkgnd();
  bool OnDestroy();

 private:
  void MakeDrawingTools();
  void Draw(HDC dc, const RECT& client) const;
  void DrawInBuffer(HDC dc, const RECT& client);
  void DrawGrid(HDC dc, const RECT& client) const;
  void DrawGraph(HDC dc, const RECT& client) const;
  int YFor(double value, const RECT& client) const;

  CMonitorSampler m_sampler{CMonitorSampler::kCpu};
  std::deque<double> m_history;
  COLORREF m_line = RGB(0, 255, 0), m_back = RGB(0, 0, 0), m_grid = RGB(0, 128, 64);
  UINT m_interval = 1000;
  double m_scale = 100, m_high = 80, m_low = 20;
  int m_scroll = 0;  // moves the grid with the graph
  // Drawing tools made once: the monitors repaint every interval for as long as the bar runs.
  CBackBuffer m_buffer;
  BrushHandle m_backBrush;
  PenHandle m_gridPen, m_levelPen, m_linePen;
};
