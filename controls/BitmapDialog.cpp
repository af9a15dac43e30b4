#include "controls/BitmapDialog.h"

#include <algorithm>

CBitmapDialog::CBitmapDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

const MessageMap* CBitmapDialog::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_ERASEBKGND>(&CBitmapDialog::OnEraseBkgnd),
  };
  static const MessageMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

BOOL CBitmapDialog::LoadBackground(UINT bitmapId) {
  m_background = LoadBitmapResource(bitmapId);
  return bool(m_background);
}

void CBitmapDialog::SetDrawMode(int mode) {
  if (mode >= kTile && mode <= kStretch) m_drawMode = mode;
}

BOOL CBitmapDialog::OnEraseBkgnd(HDC dc) {
  EraseWithDialogBrush(dc);
  RECT client;
  GetClientRect(&client);
  DrawBackground(dc, client.right, client.bottom);
  return TRUE;
}

// Each copy covers only the bitmap's own cell (clipped to the client area): pixels outside
// the bitmap are never read, so the dialog's background shows around a small bitmap.
void CBitmapDialog::DrawBackground(HDC dc, int width, int height) const {
  if (!m_background) return;
  BITMAP info{};
  GetObjectA(m_background.Get(), sizeof info, &info);
  int w = info.bmWidth, h = info.bmHeight;
  if (w <= 0 || h <= 0) return;
  BitmapDc memory(dc, m_background.Get());
  auto copy = [&](int x, int y) {
    BitBlt(dc, x, y, std::min(w, width - x), std::min(h, height - y), memory.Get(), 0, 0, SRCCOPY);
  };
  switch (m_drawMode) {
    case kTile:
      for (int y = 0; y < height; y += h)
        for (int x = 0; x < width; x += w) copy(x, y);
      break;
    case kCentre:
      copy(w < width ? (width - w) / 2 : 0, h < height ? (height - h) / 2 : 0);
      break;
    case kStretch:
      StretchBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, w, h, SRCCOPY);
      break;
  }
}
