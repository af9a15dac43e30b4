#include "ocx/monitor/MonitorControl.h"

#include <algorithm>

#include "framework/BufferedPaint.h"
#include "ocx/monitor/MonitorContract.h"
#include "ocx/monitor/SampleClock.h"

namespace {
const int kStep = 3;  // pixels between samples
const int kGrid = 12;
}  // namespace

void CMonitorControl::Register() { CHostedControl::RegisterControlClass<CMonitorControl>(CLSID_CLASS_MONITOR); }

const MessageMap* CMonitorControl::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_PAINT>(&CMonitorControl::OnPaint),
      OnMessage<WM_PRINTCLIENT>(&CMonitorControl::OnPrintClient),
      OnMessage<WM_ERASEBKGND>(&CMonitorControl::OnEraseBkgnd),
      OnMessage<WM_DESTROY>(&CMonitorControl::OnDestroy),
  };
  static const MessageMap map{CHostedControl::GetMessageMap(), entries};
  return &map;
}

void CMonitorControl::OnCreateControl() {
  auto kind = StoredInt("kind", 0) == 1 ? CMonitorSampler::kMemory : CMonitorSampler::kCpu;
  m_sampler = CMonitorSampler(kind);
  m_line = StoredColour("line", m_line);
  m_back = StoredColour("back", m_back);
  m_grid = StoredColour("grid", m_grid);
  m_interval = UINT(std::clamp(StoredInt("interval", 1000), 100, 60000));
  double scale = StoredDouble("scale", kind == CMonitorSampler::kCpu ? 100.0 : 0.0);
  if (kind == CMonitorSampler::kMemory) scale = std::max(scale, CMonitorSampler::TotalMemoryMb());
  m_scale = scale > 0 ? scale : 100.0;
  m_high = std::clamp(StoredDouble("high", 80), 0.0, 100.0);
  m_low = std::clamp(StoredDouble("low", 20), 0.0, 100.0);
  MakeDrawingTools();
  TakeSample(m_sampler.Sample());
  CSampleClock::Join(this, m_interval, [this] { TakeSample(m_sampler.Sample()); });
}

bool CMonitorControl::OnDestroy() {
  CSampleClock::Leave(this);
  return false;
}

void CMonitorControl::TakeSample(double value) {
  m_history.push_back(std::clamp(value, 0.0, m_scale));
  RECT client;
  GetClientRect(&client);
  size_t keep = size_t(std::max<LONG>(client.right / kStep + 2, 2));
  while (m_history.size() > keep) m_history.pop_front();
  m_scroll = (m_scroll + kStep) % kGrid;
  if (IsWindowVisible())
    DrawBuffered(
        m_hWnd, [this](HDC dc, const RECT& client) { DrawInBuffer(dc, client); }, &m_buffer);
}

CString CMonitorControl::ValueText() const {
  double value = m_history.empty() ? 0 : m_history.back();
  CString text;
  if (m_sampler.GetKind() == CMonitorSampler::kCpu) text.Format("CPU %d%%", int(value + 0.5));
  else text.Format("%d MB", int(value + 0.5));
  return text;
}

BOOL CMonitorControl::OnEraseBkgnd() { return TRUE; }

// Draws into a device context given by the caller (printing, captures, tests).
void CMonitorControl::OnPrintClient(HDC dc, UINT) {
  RECT client;
  GetClientRect(&client);
  Draw(dc, client);
}

void CMonitorControl::OnPaint() {
  PaintBuffered(
      m_hWnd, [this](HDC dc, const RECT& client) { DrawInBuffer(dc, client); }, &m_buffer);
}

void CMonitorControl::DrawInBuffer(HDC dc, const RECT& client) {
  m_buffer.Keep(GetStockObject(DEFAULT_GUI_FONT));
  Draw(dc, client);
}

int CMonitorControl::YFor(double value, const RECT& client) const {
  int height = client.bottom - 1;
  return height - int(value / m_scale * height + 0.5);
}

// The grid is drawn at half strength so the graph and the value stand out from it.
void CMonitorControl::MakeDrawingTools() {
  auto half = [](int grid, int back) { return BYTE((grid + back) / 2); };
  COLORREF soft = RGB(half(GetRValue(m_grid), GetRValue(m_back)), half(GetGValue(m_grid), GetGValue(m_back)),
                      half(GetBValue(m_grid), GetBValue(m_back)));
  m_backBrush.Reset(CreateSolidBrush(m_back));
  m_gridPen.Reset(CreatePen(PS_SOLID, 1, soft));
  m_levelPen.Reset(CreatePen(PS_DOT, 1, m_line));
  m_linePen.Reset(CreatePen(PS_SOLID, 2, m_line));
}

void CMonitorControl::Draw(HDC dc, const RECT& client) const {
  FillRect(dc, &client, m_backBrush.Get());
  DrawGrid(dc, client);
  DrawGraph(dc, client);
  double value = m_history.empty() ? 0 : m_history.back();
  double percent = 100.0 * value / m_scale;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, percent > m_high ? m_line : RGB(255, 255, 255));
  HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  SelectObjectScope select(dc, GetCurrentObject(dc, OBJ_FONT) == font ? nullptr : font);
  RECT text = client;
  text.top += 2;
  text.left += 3;
  DrawTextA(dc, ValueText(), -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void CMonitorControl::DrawGrid(HDC dc, const RECT& client) const {
  SelectObjectScope select(dc, m_gridPen.Get());
  for (int y = client.bottom - 1; y >= 0; y -= kGrid) {
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, client.right, y);
  }
  for (int x = client.right - 1 - (kGrid - m_scroll) % kGrid; x >= 0; x -= kGrid) {
    MoveToEx(dc, x, 0, nullptr);
    LineTo(dc, x, client.bottom);
  }
  SelectObjectScope selectLevel(dc, m_levelPen.Get());
  for (double level : {m_high, m_low}) {
    int y = YFor(m_scale * level / 100.0, client);
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, client.right, y);
  }
}

// The newest sample at the right edge, older ones towards the left.
void CMonitorControl::DrawGraph(HDC dc, const RECT& client) const {
  if (m_history.empty()) return;
  SelectObjectScope select(dc, m_linePen.Get());
  int x = client.right - 1;
  MoveToEx(dc, x, YFor(m_history.back(), client), nullptr);
  for (auto it = m_history.rbegin() + 1; it != m_history.rend(); ++it) {
    x -= kStep;
    LineTo(dc, x, YFor(*it, client));
  }
}
