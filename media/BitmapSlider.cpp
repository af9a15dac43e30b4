#include "media/BitmapSlider.h"

CBitmapSlider::~CBitmapSlider() {
  if (m_cacheDc) SelectObject(m_cacheDc.Get(), m_previousBitmap);
}

const MessageMap* CBitmapSlider::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_ERASEBKGND>(&CBitmapSlider::OnEraseBkgnd),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries};
  return &map;
}

// Separate minimum and maximum messages: the combined one carries only 16-bit values.
void CBitmapSlider::SetRange(int minimum, int maximum, BOOL redraw) const {
  SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
  SendMessage(TBM_SETRANGEMAX, redraw, maximum);
}

void CBitmapSlider::SetPos(int position) const { SendMessage(TBM_SETPOS, TRUE, position); }
int CBitmapSlider::GetPos() const { return int(SendMessage(TBM_GETPOS)); }
int CBitmapSlider::GetRangeMin() const { return int(SendMessage(TBM_GETRANGEMIN)); }
int CBitmapSlider::GetRangeMax() const { return int(SendMessage(TBM_GETRANGEMAX)); }

// The captured picture is the background; nothing else may paint it.
BOOL CBitmapSlider::OnEraseBkgnd() { return FALSE; }

bool CBitmapSlider::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != NM_CUSTOMDRAW) return false;
  *result = OnCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
  return true;
}

// The background goes in just before the channel, over what the trackbar erased, so the
// channel, tics and thumb are drawn on top as usual.
LRESULT CBitmapSlider::OnCustomDraw(const NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage == CDDS_ITEMPREPAINT && draw.dwItemSpec == TBCD_CHANNEL) PaintBackground(draw.hdc);
  return CDRF_DODEFAULT;
}

// The parent erases itself into the cache, shifted so the slider's corner lands at (0, 0).
// Asking the parent to draw, rather than reading its window back, gives its own picture
// even when the bar is covered or off the screen at the slider's first paint.
void CBitmapSlider::CaptureBackground(int width, int height) {
  HWND parent = GetParent(m_hWnd);
  WindowDc parentDc(parent);
  m_cacheDc.Reset(CreateCompatibleDC(parentDc.Get()));
  m_cacheBitmap.Reset(CreateCompatibleBitmap(parentDc.Get(), width, height));
  m_previousBitmap = SelectObject(m_cacheDc.Get(), m_cacheBitmap.Get());
  RECT place;
  GetWindowRect(&place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  POINT origin;
  SetViewportOrgEx(m_cacheDc.Get(), -place.left, -place.top, &origin);
  ::SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_cacheDc.Get()), 0);
  SetViewportOrgEx(m_cacheDc.Get(), origin.x, origin.y, nullptr);
}

// Shows the captured picture, except where the trackbar had already drawn pure black:
// a one-bit mask of those pixels is ANDed over the picture.
void CBitmapSlider::PaintBackground(HDC dc) {
  RECT client;
  GetClientRect(&client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  if (!m_cacheDc) CaptureBackground(w, h);
  BitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  BitmapDc maskDc(dc, mask.Get());
  DcStateScope state(dc);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, RGB(255, 255, 255));
  BitBlt(maskDc.Get(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
  BitBlt(dc, 0, 0, w, h, m_cacheDc.Get(), 0, 0, SRCCOPY);
  BitBlt(dc, 0, 0, w, h, maskDc.Get(), 0, 0, SRCAND);
}
