#include "controls/ColorLabel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "framework/WindowStyle.h"

namespace {
// Milliseconds as a timer takes them: truncated, never negative, never above the maximum.
UINT ToElapse(double ms) {
  if (!(ms > 0)) return 0;
  return UINT(std::min<double>(ms, USER_TIMER_MAXIMUM));
}

float ToMs(float seconds) { return float(seconds * 1000.0); }

bool IsPatternBrush(HGDIOBJ brush) {
  LOGBRUSH info{};
  return brush && GetObjectA(brush, sizeof info, &info) &&
         (info.lbStyle == BS_PATTERN || info.lbStyle == BS_PATTERN8X8);
}

HBRUSH SolidOr(HBRUSH brush, COLORREF colour) { return brush ? brush : CreateSolidBrush(colour); }
}  // namespace

CColorLabel::CColorLabel(int phase)
    : m_textPhase(phase),
      m_bkPhase(phase),
      m_onBrush(CreateSolidBrush(m_onBk)),
      m_offBrush(CreateSolidBrush(m_offBk)) {}

// The static control outlives us when we are unbound first: give it back the font it had
// before ours is deleted, and stop a flash timer that would tick into nothing.
CColorLabel::~CColorLabel() {
  if (!m_hWnd) return;
  if (m_font) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_originalFont), FALSE);
  if (m_flashStarted) KillTimer(kFlashTimerId);
}

const MessageMap* CColorLabel::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_TIMER>(&CColorLabel::OnTimer),
      OnMessage<WM_PAINT>(&CColorLabel::OnPaint),
      OnMessage<WM_PRINTCLIENT>(&CColorLabel::OnPrintClient),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries};
  return &map;
}

void CColorLabel::Repaint() const {
  if (m_hWnd) Invalidate(TRUE);
}

// ---- Phases and colours -------------------------------------------------------------

int CColorLabel::SetPhase(int phase) {
  int old = m_bkPhase;
  m_textPhase = m_bkPhase = phase;
  Repaint();
  return old;
}

int CColorLabel::SetTextPhase(int phase) {
  int old = m_textPhase;
  m_textPhase = phase;
  if (old != phase) Repaint();
  return old;
}

COLORREF CColorLabel::SetOnTextColor(COLORREF colour) {
  COLORREF old = std::exchange(m_onText, colour);
  Repaint();
  return old;
}

COLORREF CColorLabel::SetOffTextColor(COLORREF colour) {
  COLORREF old = std::exchange(m_offText, colour);
  Repaint();
  return old;
}

COLORREF CColorLabel::SetOnBkColor(COLORREF colour) {
  COLORREF old = std::exchange(m_onBk, colour);
  RebuildOnBrush();
  Repaint();
  return old;
}

// The off colour shows only in the off phase, so only then is a repaint worth it.
COLORREF CColorLabel::SetOffBkColor(COLORREF colour) {
  COLORREF old = std::exchange(m_offBk, colour);
  m_offBrush.Reset(CreateSolidBrush(colour));
  if (m_bkPhase == 0) Repaint();
  return old;
}

void CColorLabel::SplitColor(COLORREF colour, BYTE* red, BYTE* green, BYTE* blue) {
  *red = GetRValue(colour);
  *green = GetGValue(colour);
  *blue = GetBValue(colour);
}

void CColorLabel::RebuildOnBrush() {
  HBRUSH brush = m_hatch ? CreateHatchBrush(m_hatchStyle, m_onBk) : nullptr;
  m_onBrush.Reset(SolidOr(brush, m_onBk));
}

BOOL CColorLabel::SetHatch(BOOL on, int style) {
  if (!on == !m_hatch) return TRUE;
  m_hatch = on ? TRUE : FALSE;
  if (on) m_hatchStyle = style;
  RebuildOnBrush();
  if (on && IsPatternBrush(m_offBrush.Get())) {
    m_offBk = RGB(0, 0, 0);
    m_offBrush.Reset(CreateSolidBrush(m_offBk));
  }
  Repaint();
  return FALSE;
}

COLORREF CColorLabel::SetOnPattern(HBITMAP pattern) {
  return SetPattern(pattern, RGB(255, 255, 255), &m_onBk, &m_onBrush);
}

COLORREF CColorLabel::SetOffPattern(HBITMAP pattern) {
  return SetPattern(pattern, RGB(0, 0, 0), &m_offBk, &m_offBrush);
}

// The state's colour becomes `plain`, drawn only when the pattern brush cannot be made.
COLORREF CColorLabel::SetPattern(HBITMAP pattern, COLORREF plain, COLORREF* colour, BrushHandle* brush) {
  m_hatch = FALSE;
  COLORREF old = std::exchange(*colour, plain);
  brush->Reset(SolidOr(CreatePatternBrush(pattern), plain));
  Repaint();
  return old;
}

// ---- Painting -----------------------------------------------------------------------

// Prepares the static control's device context and names the brush it fills with. A hatch
// keeps the background opaque so its gaps and the text cells take the phase's colour.
HBRUSH CColorLabel::PaintColours(HDC dc) const {
  ::SetTextColor(dc, m_textPhase ? m_onText : m_offText);
  ::SetBkColor(dc, m_bkPhase ? m_onBk : m_offBk);
  if (m_hatch) return m_onBrush.Get();
  ::SetBkMode(dc, TRANSPARENT);
  return m_bkPhase ? m_onBrush.Get() : m_offBrush.Get();
}

bool CColorLabel::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return false;
  HBRUSH brush = PaintColours(reinterpret_cast<HDC>(wParam));
  if (!brush) return false;
  *result = reinterpret_cast<LRESULT>(brush);
  return true;
}

// With a border the static control paints into our paint DC and the border goes on top;
// without one the static control paints alone.
bool CColorLabel::OnPaint() {
  if (!m_border) return false;
  PaintDc paint(m_hWnd);
  DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.Get()), PRF_CLIENT);
  DrawBorder(paint.Get());
  return true;
}

LRESULT CColorLabel::OnPrintClient(HDC dc, UINT) {
  LRESULT result = Default();
  if (m_border) DrawBorder(dc);
  return result;
}

void CColorLabel::DrawBorder(HDC dc) const {
  BrushHandle brush(CreateSolidBrush(m_borderColor));
  RECT rect;
  GetClientRect(&rect);
  for (int i = 0; i < m_borderWidth && !IsRectEmpty(&rect); ++i) {
    FrameRect(dc, &rect, brush.Get());
    InflateRect(&rect, -1, -1);
  }
}

// ---- Edges --------------------------------------------------------------------------

void CColorLabel::SetSunken(int sunken) {
  if (sunken && m_border) SetBorder(FALSE, 2, RGB(255, 0, 0));
  SetWindowExStyle(m_hWnd, WS_EX_STATICEDGE, sunken != 0);
}

void CColorLabel::SetModalFrame(int modal) {
  if (modal && m_border) SetBorder(FALSE, 2, RGB(255, 0, 0));
  SetWindowExStyle(m_hWnd, WS_EX_DLGMODALFRAME, modal != 0);
}

void CColorLabel::SetThinBorder(int thin) { SetWindowStyle(m_hWnd, WS_BORDER, thin != 0); }

// The drawn border replaces the system edges while it is on.
void CColorLabel::SetBorder(BOOL on, int width, COLORREF colour) {
  m_border = on ? TRUE : FALSE;
  if (on) {
    SetWindowExStyle(m_hWnd, WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME, false);
    m_borderWidth = width;
    m_borderColor = colour;
  } else {
    m_borderColor = m_bkPhase ? m_onBk : m_offBk;
  }
  Repaint();
}

// ---- Fonts --------------------------------------------------------------------------

HFONT CColorLabel::CreateLabelFont(const LOGFONTA& font) { return CreateFontIndirectA(&font); }

// The control switches to the new font (or back to its original one when creation failed)
// before the old font is deleted, so it never draws with a deleted font.
void CColorLabel::ApplyFont(HFONT font) {
  if (m_hWnd) {
    if (!m_font) m_originalFont = WindowFont(m_hWnd);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : m_originalFont), TRUE);
  }
  m_font.Reset(font);
}

BOOL CColorLabel::SetFontIndirect(const LOGFONTA& font) {
  HFONT created = CreateLabelFont(font);
  ApplyFont(created);
  return created != nullptr;
}

BOOL CColorLabel::SetPointFontIndirect(const LOGFONTA& font) {
  LOGFONTA scaled = font;
  WindowDc dc(m_hWnd);
  int tenths = std::clamp<LONG>(font.lfHeight, -100000, 100000);
  scaled.lfHeight = -std::abs(MulDiv(GetDeviceCaps(dc.Get(), LOGPIXELSY), tenths, 720));
  return SetFontIndirect(scaled);
}

// A fresh font of that face and size: every other attribute is the default one.
BOOL CColorLabel::SetFontFace(int points, const char* face) {
  LOGFONTA font{};
  font.lfHeight = LONG(std::clamp<int64_t>(int64_t(points) * 10, -100000, 100000));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, face ? face : "", LF_FACESIZE);
  return SetPointFontIndirect(font);
}

LOGFONTA CColorLabel::GetLabelFont() const {
  HGDIOBJ font = m_hWnd ? reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)) : m_font.Get();
  LOGFONTA info{};
  if (!font || !GetObjectA(font, sizeof info, &info)) GetObjectA(GetStockObject(SYSTEM_FONT), sizeof info, &info);
  return info;
}

BOOL CColorLabel::SetBold(int bold) {
  LOGFONTA font = GetLabelFont();
  if (bold == 0) font.lfWeight = FW_NORMAL;
  if (bold == 1) font.lfWeight = FW_BOLD;
  return SetFontIndirect(font);
}

BOOL CColorLabel::SetUnderline(int underline) {
  LOGFONTA font = GetLabelFont();
  font.lfUnderline = BYTE(underline);
  return SetFontIndirect(font);
}

BOOL CColorLabel::SetItalic(int italic) {
  LOGFONTA font = GetLabelFont();
  font.lfItalic = BYTE(italic);
  return SetFontIndirect(font);
}

BOOL CColorLabel::SetWeight(int weight) {
  if (weight < 1 || weight > 1000) return FALSE;
  LOGFONTA font = GetLabelFont();
  font.lfWeight = weight;
  return SetFontIndirect(font);
}

// ---- Flashing -----------------------------------------------------------------------

UINT_PTR CColorLabel::StartFlashTimer(UINT elapseMs) { return m_hWnd ? SetTimer(kFlashTimerId, elapseMs) : 0; }

void CColorLabel::StopFlashTimer() {
  if (m_flashStarted && m_hWnd) KillTimer(kFlashTimerId);
}

BOOL CColorLabel::StartFlashing(FlashMode mode, float milliseconds) {
  m_flashMode = mode;
  m_flashStarted = TRUE;
  m_flashTimer = StartFlashTimer(ToElapse(milliseconds));
  return m_flashTimer != 0;
}

BOOL CColorLabel::FlashWhole(BOOL on, int restorePhase, float seconds) {
  StopFlashTimer();
  if (!on) {
    m_flashMode = kFlashNone;
    SetPhase(restorePhase);
    return TRUE;
  }
  m_textPhase = m_bkPhase;
  Repaint();
  return StartFlashing(kFlashWhole, ToMs(seconds));
}

BOOL CColorLabel::FlashRhythm(BOOL on, int restorePhase, float onSeconds, float offSeconds) {
  if (!on) return FlashWhole(FALSE, restorePhase, 0);
  StopFlashTimer();
  m_rhythmOnMs = ToMs(onSeconds);
  m_rhythmOffMs = ToMs(offSeconds);
  SetPhase(1);
  return StartFlashing(kFlashRhythm, m_rhythmOnMs);
}

// A burst is `flashes` on-off pairs `step` apart, then a pause, then the next burst.
BOOL CColorLabel::FlashBurst(BOOL on, int restorePhase, float stepSeconds, int flashes, float pauseSeconds) {
  if (!on) return FlashWhole(FALSE, restorePhase, 0);
  StopFlashTimer();
  m_burstStepMs = ToMs(stepSeconds);
  m_burstPauseMs = ToMs(pauseSeconds);
  m_burstLimit = 2 * flashes + 1;
  SetPhase(1);
  m_burstCount = 1;
  return StartFlashing(kFlashBurst, m_burstStepMs);
}

BOOL CColorLabel::FlashText(BOOL on, float seconds, int restoreTextPhase) {
  StopFlashTimer();
  if (!on) {
    m_flashMode = kFlashNone;
    m_textPhase = restoreTextPhase;
    Repaint();
    return TRUE;
  }
  m_textPhase = m_bkPhase;
  Repaint();
  return StartFlashing(kFlashText, ToMs(seconds));
}

void CColorLabel::ToggleBoth() {
  m_textPhase = !m_textPhase;
  m_bkPhase = !m_bkPhase;
}

void CColorLabel::FlashStep() {
  switch (m_flashMode) {
    case kFlashWhole:
      ToggleBoth();
      Repaint();
      break;
    case kFlashRhythm:
      KillTimer(kFlashTimerId);
      ToggleBoth();
      Repaint();
      m_flashTimer = StartFlashTimer(ToElapse(m_bkPhase ? m_rhythmOnMs : m_rhythmOffMs));
      break;
    case kFlashBurst:
      ToggleBoth();
      Repaint();
      if (++m_burstCount <= m_burstLimit) {
        m_flashTimer = StartFlashTimer(ToElapse(m_burstStepMs));
      } else {
        m_burstCount = 1;  // as at the start, so every burst has the same number of flashes
        SetPhase(1);
        m_flashTimer = StartFlashTimer(ToElapse(m_burstPauseMs));
      }
      break;
    case kFlashText:
      m_textPhase = !m_textPhase;
      Repaint();
      break;
    default:
      break;
  }
}

// Every tick steps the flashing; the static control may see it too.
bool CColorLabel::OnTimer() {
  FlashStep();
  return false;
}
