#include "controls/ColorEdit.h"

void CColorEdit::SetBkColor(COLORREF colour) {
  m_background = colour;
  m_brush.Reset(CreateSolidBrush(colour));
  if (m_hWnd) Invalidate(TRUE);
}

void CColorEdit::SetTextColor(COLORREF colour) {
  m_text = colour;
  if (m_hWnd) Invalidate(TRUE);
}

// A read-only edit asks with WM_CTLCOLORSTATIC, an editable one with WM_CTLCOLOREDIT.
bool CColorEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if ((message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) || !m_brush) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, m_text);
  ::SetBkColor(dc, m_background);
  *result = reinterpret_cast<LRESULT>(m_brush.Get());
  return true;
}
