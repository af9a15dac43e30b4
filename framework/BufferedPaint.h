// Painting through an off-screen bitmap, copied to the window in one step, so a control
// that repaints often (hover, timers) never flickers.
#pragma once

#include <algorithm>

#include "framework/Handles.h"

// An off-screen bitmap, and the memory device context it is selected into, kept between
// paints; the bitmap is remade only when the size changes. Both stay inside this process:
// under X, a device context made for the display (each one made per paint, too) has its
// font chosen through the X server, which re-reads the user's X resources every time,
// once a second for each meter.
class CBackBuffer {
 public:
  // The device context to draw into, holding a bitmap of `width` x `height`.
  HDC For(int width, int height) {
    if (!m_dc) m_dc.Reset(CreateCompatibleDC(nullptr));
    if (!m_bitmap || width != m_width || height != m_height) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = std::max(width, 1);
      info.bmiHeader.biHeight = -std::max(height, 1);  // top-down
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
      if (m_dc && bitmap) SelectObject(m_dc.Get(), bitmap.Get());  // frees the old one for deletion
      m_bitmap = std::move(bitmap);
      m_width = width;
      m_height = height;
    }
    return m_dc.Get();
  }

 private:
  BitmapHandle m_bitmap;  // declared first: the device context is deleted before its bitmap
  MemoryDc m_dc;
  int m_width = 0, m_height = 0;
};

// Paints `window` by calling draw(dc, client) on an off-screen bitmap: `cache`'s if given,
// else one made for this paint.
template <class Draw>
void PaintBuffered(HWND window, Draw&& draw, CBackBuffer* cache = nullptr) {
  PaintDc paint(window);
  RECT client;
  GetClientRect(window, &client);
  CBackBuffer once;
  HDC memory = (cache ? cache : &once)->For(client.right, client.bottom);
  if (!memory) return;
  draw(memory, client);
  BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}
