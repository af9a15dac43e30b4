// CCaptionButton: the hosted push button of the program's windows. It draws its caption in
// its own font and colours, shows hover, pressed, focus and disabled states, and raises
// the stock Click event (DISPID -600) when released over itself or on Space or Enter.
//
// Stored state (from the template): caption (else the window text), font (face, default
// "Arial"), size (points, default 8), bold (0/1), fore, back and hover (colours 0xBBGGRR;
// default the system's button colours).
#pragma once

#include "framework/Handles.h"
#include "ocx/HostedControl.h"

class CCaptionButton : public CHostedControl {
 public:
  static void Register();

  CString GetCaption() const { return m_caption; }
  bool IsHot() const { return m_hot; }
  bool IsPressed() const { return m_pressed && m_hot; }
  // True when the caption font is not installed and the arrow glyph is drawn instead.
  bool DrawsArrowShape() const { return m_arrowShape; }

  const MessageMap* GetMessageMap() const override;

 protected:
  void OnCreateControl() override;
  void OnPaint();
  void OnPrintClient(HDC dc, UINT drawFlags);
  void OnMouseMove(UINT keys, POINT point);
  void OnMouseLeave();
  void OnLButtonDown();
  void OnLButtonUp(UINT keys, POINT point);
  void OnCaptureChanged();
  void OnKeyDown(UINT key, UINT repeats, UINT flags);
  UINT OnGetDlgCode(UINT key, const MSG* message);
  void OnSetFocus();
  void OnKillFocus();
  void OnEnable();
  LRESULT OnSetText(const char* text);
  BOOL OnEraseBkgnd();

 private:
  void Draw(HDC dc, const RECT& client) const;
  void DrawArrow(HDC dc, const RECT& area, COLORREF colour) const;
  bool ContainsPoint(POINT point) const;
  void SetHot(bool hot);

  CString m_caption;
  HFONT m_font = nullptr;  // shared by the buttons of the same face, size and weight
  COLORREF m_fore = 0, m_back = 0, m_hover = 0;
  bool m_hot = false, m_pressed = false, m_tracking = false, m_arrowShape = false, m_focused = false;
};
