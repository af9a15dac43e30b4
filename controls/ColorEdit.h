// CColorEdit: an edit control in a text colour on a background colour of its own, through
// the control-colour message its parent hands back to it. The bar's player display.
#pragma once

#include "framework/Edit.h"
#include "framework/Handles.h"

class CColorEdit : public CEdit {
 public:
  void SetBkColor(COLORREF colour);
  void SetTextColor(COLORREF colour);
  COLORREF GetBkColor() const { return m_background; }
  COLORREF GetTextColor() const { return m_text; }

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  COLORREF m_text = 0;
  COLORREF m_background = 0;
  BrushHandle m_brush;
};
