// Painting through an off-screen bitmap, copied to the window in one step, so a control
// that repaints often (hover, timers) never flickers.
#pragma once

#include <algorithm>

#include "framework/Handles.h"

// An off-screen bitmap, and the memory device context it is selected into, kept between
// paints; the bitmap is remade only when a larger one is asked for, so windows of different
// sizes can share one, each drawing in its top-left corner. Both stay inside this process:
// under X, a device context made for the display (each one made per paint, too) has its
// font chosen through the X server, which re-reads the user's X resources every time,
// once a second for each meter.
class CBackBuffer {
 public:
  // The device context to draw into, holding a bitmap of at least `width` x `height`.
  HDC For(int width, int height) {
    if (!m_dc) m_dc.Reset(CreateCompatibleDC(nullptr));
    if (!m_bitmap || width > m_width || height > m_height) {
      width = std::max({width, m_width, 1});
      height = std::max({height, m_height, 1});
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;  // top-down
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

  // Leaves `object` (a pen, brush or font that outlives this buffer) selected into the
  // buffer's device context for good. Selecting a font is not free under X: each selection
  // of a font of default quality looks the user's X resources up again, re-reading the
  // resource files when there are none.
  void Keep(HGDIOBJ object) {
    if (m_dc && GetCurrentObject(m_dc.Get(), GetObjectType(object)) != object) SelectObject(m_dc.Get(), object);
  }

 private:
  BitmapHandle m_bitmap;  // declared first: the device context is deleted before its bitmap
  MemoryDc m_dc;
  int m_width = 0, m_height = 0;
};

// Draws `window` now, outside WM_PAINT, by calling draw(dc, client) on `cache`'s bitmap and
// copying the whole of it to the window. A window that changes on a timer draws so at each
// tick: invalidating it instead costs the wine server three more calls a tick (the
// invalidation, the paint message's region, the validation). Parts the window does not show
// are clipped away, and a paint comes for them when they show.
#ifndef DCX_USESTYLE
#define DCX_USESTYLE 0x00010000  // the window's class style chooses the context, as GetDC does
#endif

template <class Draw> void DrawBuffered(HWND window, Draw&& draw, CBackBuffer* cache) {
  RECT client;
  GetClientRect(window, &client);
  HDC memory = cache->For(client.right, client.bottom);
  if (!memory) return;
  draw(memory, client);
  if (HDC screen = GetDCEx(window, nullptr, DCX_USESTYLE | DCX_NORESETATTRS)) {
    BitBlt(screen, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
  }
}

// Paints `window` by calling draw(dc, client) on `cache`'s off-screen bitmap. The whole
// client area is copied, so the update region does not matter and the window's device
// context is taken without BeginPaint: EndPaint resets a device context's state, and the
// reset selects the system font again, a look-up of the user's X resources under X on every
// paint. Windows of a class with CS_OWNDC thus keep theirs. Nor does the window hear
// WM_NCPAINT and WM_ERASEBKGND, which BeginPaint sends: neither changes a window that
// copies all of its client area and has no frame.
template <class Draw> void PaintBuffered(HWND window, Draw&& draw, CBackBuffer* cache) {
  DrawBuffered(window, draw, cache);
  ValidateRect(window, nullptr);
}
