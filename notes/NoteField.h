// CNoteField: the note's text field, a multi-line edit painted in its own text and
// background colours (the parent hands the edit's colour message back to it).
// Stands in for the shared colour edit until that class is in this tree.
#pragma once

#include "framework/Handles.h"
#include "framework/Wnd.h"

class CNoteField : public CWnd {
 public:
  void SetBkColor(COLORREF colour);
  void SetTextColor(COLORREF colour);
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  COLORREF m_textColour = RGB(0, 0, 0);
  COLORREF m_backColour = RGB(255, 255, 255);
  GdiObject m_backBrush;
};
