// Painting through an off-screen bitmap, copied to the window in one step, so a control
// that repaints often (hover, timers) never flickers.
#pragma once

#include "framework/Handles.h"

// An off-screen bitmap kept between paints, remade only when the size changes.
class CBackBuffer {
 public:
  HBITMAP For(HDC dc, int width, int height) {
    if (!m_bitmap || width != m_width || height != m_height) {
      m_bitmap.Reset(CreateCompatibleBitmap(dc, width, height));
      m_width = width;
      m_height = height;
    }
    return static_cast<HBITMAP>(m_bitmap.Get());
  }

 private:
  GdiObject m_bitmap;
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
  HBITMAP canvas = (cache ? cache : &once)->For(paint.Get(), client.right, client.bottom);
  MemoryDc memory(CreateCompatibleDC(paint.Get()));
  SelectObjectScope select(memory.Get(), canvas);
  draw(memory.Get(), client);
  BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}
