// CBitmapSlider: a trackbar that looks transparent. The piece of the parent's background
// that lies under it is captured once, at its first paint, and shown behind the trackbar's
// own channel and thumb, so the slider sits on the parent's artwork instead of a grey box.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Handles.h"
#include "framework/Wnd.h"

class CBitmapSlider : public CWnd {
 public:
  CBitmapSlider() = default;
  ~CBitmapSlider() override;

  // The plain trackbar's range and position.
  void SetRange(int minimum, int maximum, BOOL redraw = FALSE) const;
  void SetPos(int position) const;
  int GetPos() const;
  int GetRangeMin() const;
  int GetRangeMax() const;

  bool HasBackgroundCache() const { return bool(m_cacheDc); }

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  const MessageMap* GetMessageMap() const override;

 protected:
  BOOL OnEraseBkgnd();

 private:
  LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw);
  void CaptureBackground(int width, int height);
  void PaintBackground(HDC dc);

  BitmapHandle m_cacheBitmap;
  MemoryDc m_cacheDc;
  HGDIOBJ m_previousBitmap = nullptr;
};
