// Painting through an off-screen bitmap, copied to the window in one step, so a control
// that repaints often (hover, timers) never flickers.
#pragma once

#include "framework/Handles.h"

template <class Draw>
void PaintBuffered(HWND window, Draw&& draw) {
  PaintDc paint(window);
  RECT client;
  GetClientRect(window, &client);
  MemoryDc memory(CreateCompatibleDC(paint.Get()));
  GdiObject canvas(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
  SelectObjectScope select(memory.Get(), canvas.Get());
  draw(memory.Get(), client);
  BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}
