// CBitmapDialog: a dialog that paints a bitmap from the program's resources over its
// ordinary background whenever the background is erased: tiled, centred or stretched.
#pragma once

#include "framework/Dialog.h"

class CBitmapDialog : public CDialog {
 public:
  enum DrawMode { kTile = 0, kCentre = 1, kStretch = 2 };

  CBitmapDialog(UINT templateId, CWnd* parent);

  // Finds the bitmap in the program's module, replacing any earlier one. A bitmap that is
  // missing, or not an uncompressed one whose pixels all lie in the resource, leaves the
  // dialog without one.
  BOOL LoadBackground(UINT bitmapId);
  // 0 tile, 1 centre, 2 stretch; any other value is ignored.
  void SetDrawMode(int mode);
  int GetDrawMode() const { return m_drawMode; }
  // The bitmap's header in the resource, or nullptr.
  const BITMAPINFO* GetBackground() const { return m_background.info; }

  // Paints the background onto `dc` for a client area of width x height.
  void DrawBackground(HDC dc, int width, int height) const;

  const MessageMap* GetMessageMap() const override;

 protected:
  BOOL OnEraseBkgnd(HDC dc);

 private:
  // The bitmap as it lies in the resource, drawn from there: its pixels are never copied.
  struct Dib {
    const BITMAPINFO* info = nullptr;
    const void* bits = nullptr;
    int width = 0, height = 0;
  };
  static Dib FindDib(UINT bitmapId);
  bool Covers(int width, int height) const;

  Dib m_background;
  int m_drawMode = kTile;
};
