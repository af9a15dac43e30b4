// CColorLabel: a static text control that picks its own text colour, background colour and
// brush, owns its font and can switch its edges. It keeps two colour sets, the on phase and
// the off phase; two flags choose which set the text and the background use, and flashing
// is a timer that toggles those flags. It paints through the control-colour message its
// parent hands back to it; the static control itself draws the text.
#pragma once

#include "framework/Handles.h"
#include "framework/Wnd.h"

class CColorLabel : public CWnd {
 public:
  enum FlashMode { kFlashWhole = 0, kFlashRhythm = 1, kFlashBurst = 2, kFlashText = 3, kFlashNone = 4 };
  static constexpr UINT_PTR kFlashTimerId = 1;

  // Both phase flags start as `phase`.
  explicit CColorLabel(int phase);
  ~CColorLabel() override;

  // Phases. Each returns the flag it replaced.
  int SetPhase(int phase);
  int SetTextPhase(int phase);
  int GetTextPhase() const { return m_textPhase; }
  int GetBkPhase() const { return m_bkPhase; }

  // Colours. Each returns the colour it replaced.
  COLORREF SetOnTextColor(COLORREF colour);
  COLORREF SetOffTextColor(COLORREF colour);
  COLORREF SetOnBkColor(COLORREF colour);
  COLORREF SetOffBkColor(COLORREF colour);
  COLORREF GetOnTextColor() const { return m_onText; }
  COLORREF GetOffTextColor() const { return m_offText; }
  COLORREF GetOnBkColor() const { return m_onBk; }
  COLORREF GetOffBkColor() const { return m_offBk; }
  static void SplitColor(COLORREF colour, BYTE* red, BYTE* green, BYTE* blue);

  // Backgrounds other than solid colours.
  BOOL SetHatch(BOOL on, int style);
  COLORREF SetOnPattern(HBITMAP pattern);
  COLORREF SetOffPattern(HBITMAP pattern);

  // Fonts: each replaces the label's own font; each returns whether a font was created.
  BOOL SetFontIndirect(const LOGFONTA& font);
  BOOL SetPointFontIndirect(const LOGFONTA& font);  // lfHeight in tenths of a point
  BOOL SetFontFace(int points, const char* face);
  BOOL SetBold(int bold);  // 0 normal, 1 bold, anything else keeps the weight
  BOOL SetUnderline(int underline);
  BOOL SetItalic(int italic);
  BOOL SetWeight(int weight);  // 1..1000
  // The attributes of the font the control draws with now.
  LOGFONTA GetLabelFont() const;

  // Edges.
  void SetSunken(int sunken);
  void SetModalFrame(int modal);
  void SetThinBorder(int thin);
  void SetBorder(BOOL on, int width, COLORREF colour);
  BOOL HasBorder() const { return m_border; }
  int BorderWidth() const { return m_borderWidth; }

  void SetText(const char* text) const { SetWindowText(text); }

  // Flashing. A zero `on` stops and sets the phases to `restorePhase`. Times in seconds.
  BOOL FlashWhole(BOOL on, int restorePhase, float seconds);
  BOOL FlashRhythm(BOOL on, int restorePhase, float onSeconds, float offSeconds);
  BOOL FlashBurst(BOOL on, int restorePhase, float stepSeconds, int flashes, float pauseSeconds);
  BOOL FlashText(BOOL on, float seconds, int restoreTextPhase);
  int GetFlashMode() const { return m_flashMode; }

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  const MessageMap* GetMessageMap() const override;

 protected:
  bool OnTimer();
  bool OnPaint();
  LRESULT OnPrintClient(HDC dc, UINT drawFlags);
  // Seams for tests: the flash timer and font creation.
  virtual UINT_PTR StartFlashTimer(UINT elapseMs);
  virtual HFONT CreateLabelFont(const LOGFONTA& font);

 private:
  void Repaint() const;
  HBRUSH OnBrush() const;
  void RebuildOnBrush();
  COLORREF SetPattern(HBITMAP pattern, COLORREF plain, COLORREF* colour, BrushHandle* brush);
  void ApplyFont(HFONT font);
  HBRUSH PaintColours(HDC dc) const;
  void DrawBorder(HDC dc) const;
  void StopFlashTimer();
  BOOL StartFlashing(FlashMode mode, float milliseconds);
  void FlashStep();
  void ToggleBoth();

  UINT_PTR m_flashTimer = 0;
  BOOL m_hatch = FALSE;
  int m_hatchStyle = -1;
  int m_textPhase;
  int m_bkPhase;
  COLORREF m_onBk = RGB(255, 255, 255);
  COLORREF m_offBk = RGB(0, 0, 0);
  BrushHandle m_onBrush;
  BrushHandle m_offBrush;
  COLORREF m_onText = RGB(0, 0, 0);
  COLORREF m_offText = RGB(255, 255, 255);
  BOOL m_flashStarted = FALSE;
  FontHandle m_font;
  HFONT m_originalFont = nullptr;  // what the control drew with before it had a font of ours
  int m_flashMode = kFlashNone;
  float m_rhythmOnMs = 0;
  float m_rhythmOffMs = 0;
  float m_burstStepMs = 0;
  float m_burstPauseMs = 0;
  int m_burstCount = 0;
  int m_burstLimit = 0;
  BOOL m_border = FALSE;
  int m_borderWidth = 2;
  COLORREF m_borderColor = 0;
};
