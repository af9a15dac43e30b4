#include "notes/NoteField.h"

void CNoteField::SetBkColor(COLORREF colour) {
  m_backColour = colour;
  m_backBrush.Reset(CreateSolidBrush(colour));
  Invalidate();
}

void CNoteField::SetTextColor(COLORREF colour) {
  m_textColour = colour;
  Invalidate();
}

bool CNoteField::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_CTLCOLOREDIT || !m_backBrush) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, m_textColour);
  ::SetBkColor(dc, m_backColour);
  *result = reinterpret_cast<LRESULT>(m_backBrush.Get());
  return true;
}
