#include "controls/BitmapDialog.h"

#include <cstdint>
#include <cstdlib>

#include "framework/Handles.h"

CBitmapDialog::CBitmapDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

const MessageMap* CBitmapDialog::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_ERASEBKGND>(&CBitmapDialog::OnEraseBkgnd),
  };
  static const MessageMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

// A bitmap resource is its header, colour table and pixels, without the file header. The
// resource stays mapped with the program, so drawing from it costs no memory, where a
// bitmap made from it would hold a second copy of the pixels (the bar's is 280 KB).
CBitmapDialog::Dib CBitmapDialog::FindDib(UINT bitmapId) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(loaded ? LockResource(loaded) : nullptr);
  uint64_t size = found ? SizeofResource(module, found) : 0;
  if (!header || size < sizeof *header || header->biSize < sizeof *header || header->biSize > size) return {};
  int bits = header->biBitCount;
  bool plain = header->biCompression == BI_RGB || (header->biCompression == BI_BITFIELDS && (bits == 16 || bits == 32));
  if (!plain || header->biPlanes != 1 || header->biWidth <= 0 || header->biHeight == 0 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    return {};
  uint64_t colours = header->biClrUsed ? header->biClrUsed : bits <= 8 ? 1u << bits : 0;
  uint64_t masks = header->biCompression == BI_BITFIELDS && header->biSize == sizeof *header ? 3 : 0;
  uint64_t offset = header->biSize + (colours + masks) * 4;
  uint64_t rows = uint64_t(std::llabs(header->biHeight));
  uint64_t stride = (uint64_t(header->biWidth) * bits + 31) / 32 * 4;
  if (offset > size || stride * rows > size - offset) return {};
  return {reinterpret_cast<const BITMAPINFO*>(header), reinterpret_cast<const BYTE*>(header) + offset,
          int(header->biWidth), int(rows)};
}

BOOL CBitmapDialog::LoadBackground(UINT bitmapId) {
  m_background = FindDib(bitmapId);
  return m_background.info != nullptr;
}

void CBitmapDialog::SetDrawMode(int mode) {
  if (mode >= kTile && mode <= kStretch) m_drawMode = mode;
}

// Whether the bitmap hides all of an area of width x height: then the dialog's own
// background would only be painted over.
bool CBitmapDialog::Covers(int width, int height) const {
  if (!m_background.info) return false;
  return m_drawMode != kCentre || (m_background.width >= width && m_background.height >= height);
}

BOOL CBitmapDialog::OnEraseBkgnd(HDC dc) {
  RECT client;
  GetClientRect(&client);
  if (!Covers(client.right, client.bottom)) EraseWithDialogBrush(dc);
  DrawBackground(dc, client.right, client.bottom);
  return TRUE;
}

// Each copy is of the whole bitmap, clipped to the area: the dialog's background shows
// around a small bitmap, and nothing is drawn outside the area.
void CBitmapDialog::DrawBackground(HDC dc, int width, int height) const {
  const Dib& dib = m_background;
  if (!dib.info) return;
  int w = dib.width, h = dib.height;
  DcStateScope state(dc);
  IntersectClipRect(dc, 0, 0, width, height);
  auto copy = [&](int x, int y, int toWidth, int toHeight) {
    StretchDIBits(dc, x, y, toWidth, toHeight, 0, 0, w, h, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY);
  };
  switch (m_drawMode) {
    case kTile:
      for (int y = 0; y < height; y += h)
        for (int x = 0; x < width; x += w) copy(x, y, w, h);
      break;
    case kCentre:
      copy(w < width ? (width - w) / 2 : 0, h < height ? (height - h) / 2 : 0, w, h);
      break;
    case kStretch:
      copy(0, 0, width, height);
      break;
  }
}
