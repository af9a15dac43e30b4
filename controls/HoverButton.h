// CHoverButton: an owner-drawn push button with twelve looks (standard, flat with a hover
// edge, drop-down arrow, split, checkable, check box, radio, hyperlink), four text layouts,
// a bitmap drawn with a transparent colour (embossed while disabled), named groups of
// mutually exclusive buttons and an optional vertical gradient face.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

class CHoverButton : public CWnd {
 public:
  enum Type {
    kNoFace = 0,
    kStandard,
    kFlat,
    kArrow,
    kFlatArrow,
    kSplit,
    kFlatSplit,
    kCheckPush,
    kFlatCheckPush,
    kCheckBox,
    kRadio,
    kHyperlink,
    kTypeCount
  };
  enum Layout { kNoText = 0, kLeft, kCentred, kWrapped, kLayoutCount };
  static constexpr int kSplitArrowWidth = 18;  // the arrow part of a split button
  static constexpr COLORREF kHyperlinkColor = RGB(0, 0, 224);

  CHoverButton();
  ~CHoverButton() override;

  // A type above 11 keeps the type number but drops the looks of the old type.
  void SetButtonType(int type);
  int GetButtonType() const { return m_type; }
  // A layout above 3 keeps the layout number but hides the text.
  void SetTextLayout(int layout);
  int GetTextLayout() const { return m_layout; }
  void SetCaptionColor(COLORREF colour) { m_textColor = colour; }
  void SetFocusStyle(int style);  // 0 none, else a focus rectangle; 2 adds the default frame
  void SetBitmap(UINT bitmapId, COLORREF transparent);
  void SetGradient(BOOL on);
  // Check state of the checkable types (7 to 10); checking one unchecks its group.
  void SetCheck(int check);
  int GetCheck() const { return m_checked; }
  void SetGroup(const char* name);
  // Drops the menu below the button and returns the chosen command (0: none).
  UINT ShowMenu(HMENU menu);
  void EnableButton(BOOL enable);
  void ReleaseSplit();
  BOOL IsHovering() const { return m_hovering; }
  BOOL IsArrowPressed() const { return m_arrowPressed; }

  virtual void DrawItem(const DRAWITEMSTRUCT& item);

  // Painting pieces, usable on any device context.
  // A two-colour gradient; without the system's GradientFill (or with useSystem false)
  // it is drawn as 255 bands.
  static void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical, bool useSystem = true);
  // The bitmap at (x, y) with pixels of the transparent colour left out.
  static void DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent);
  // The bitmap's shape as a disabled look: highlight offset by one pixel, shadow on top.
  static void DrawEmbossed(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent);

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  const MessageMap* GetMessageMap() const override;

 protected:
  // Binding makes the button owner-drawn; a button that was not a plain push button
  // (a default button, say) may then draw the default-button frame.
  void PreSubclassWindow() override;
  LRESULT OnEraseBkgnd(HDC dc);
  bool OnMouseMove();
  void OnMouseLeave();
  bool OnLButtonDown(UINT keys, POINT point);
  LRESULT OnLButtonUp(UINT keys, POINT point);
  bool OnFocusChange();
  LRESULT OnSetCursor();

 private:
  struct ItemPaint;
  void Repaint() const;
  bool IsCheckable() const { return m_type >= kCheckPush && m_type <= kRadio; }
  bool HasBox() const { return m_type == kCheckBox || m_type == kRadio; }
  bool ShiftsWhenPressed() const;
  int TextRight(const RECT& rect) const;
  void DrawFace(const ItemPaint& p) const;
  void DrawImage(ItemPaint& p) const;
  void DrawBox(ItemPaint& p) const;
  void DrawArrow(const ItemPaint& p) const;
  void DrawCaption(const ItemPaint& p) const;
  void DrawFocus(const ItemPaint& p) const;
  void DrawDefaultFrame(const ItemPaint& p) const;
  void LeaveGroup();

  int m_type = kStandard;
  int m_layout = kCentred;
  int m_focusStyle = 0;
  COLORREF m_textColor;
  BOOL m_hovering = FALSE;
  UINT m_bitmapId = 0;
  BYTE m_centred = 0;
  BYTE m_wordWrapped = 0;
  BYTE m_checked = 0;
  BYTE m_textShown = 0;
  BYTE m_arrow = 0;
  BYTE m_split = 0;
  BYTE m_arrowPressed = 0;
  BYTE m_noFace = 0;
  BYTE m_flat = 0;
  BYTE m_hyperlink = 0;
  BYTE m_gradient = 0;
  COLORREF m_transparent = RGB(255, 0, 255);
  BYTE m_wasDefault = 0;
  CString m_group;
};
