// CBitmapDialog: a dialog that paints a bitmap from the program's resources over its
// ordinary background whenever the background is erased: tiled, centred or stretched.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"

class CBitmapDialog : public CDialog {
 public:
  enum DrawMode { kTile = 0, kCentre = 1, kStretch = 2 };

  CBitmapDialog(UINT templateId, CWnd* parent);

  // Loads the bitmap from the program's module, replacing (and deleting) any earlier one.
  // A bitmap that does not load leaves the dialog without one.
  BOOL LoadBackground(UINT bitmapId);
  // 0 tile, 1 centre, 2 stretch; any other value is ignored.
  void SetDrawMode(int mode);
  int GetDrawMode() const { return m_drawMode; }
  HBITMAP GetBackground() const { return m_background.Get(); }

  // Paints the background onto `dc` for a client area of width x height.
  void DrawBackground(HDC dc, int width, int height) const;

  const MessageMap* GetMessageMap() const override;

 protected:
  BOOL OnEraseBkgnd(HDC dc);

 private:
  BitmapHandle m_background;
  int m_drawMode = kTile;
};
