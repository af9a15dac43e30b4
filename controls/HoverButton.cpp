#include "controls/HoverButton.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/WindowStyle.h"

namespace {
using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// Shared by all buttons: the system's gradient routine, looked up while any button exists,
// and the exclusive groups, which hold only buttons that are alive.
struct ClassState {
  int instances = 0;
  ModuleHandle library;
  GradientFillFn gradientFill = nullptr;
  std::map<std::string, std::vector<CHoverButton*>> groups;
};

ClassState& Shared() {
  static ClassState state;
  return state;
}

void FillColor(HDC dc, const RECT& rect, COLORREF colour) {
  COLORREF old = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

// Top and left in one colour, bottom and right in the other, one pixel wide.
void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  FillColor(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  FillColor(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  FillColor(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  FillColor(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

void FrameColor(HDC dc, const RECT& rect, COLORREF colour) {
  BrushHandle brush(CreateSolidBrush(colour));
  FrameRect(dc, &rect, brush.Get());
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

BYTE Between(BYTE from, BYTE to, int step) { return BYTE(from + (to - from) * step / 255); }
}  // namespace

struct CHoverButton::ItemPaint {
  HDC dc;
  RECT rect;
  bool selected;
  bool disabled;
  bool focus;
  int x;  // left edge of what is still free, after bitmap and box
};

CHoverButton::CHoverButton() : m_textColor(GetSysColor(COLOR_BTNTEXT)) {
  ClassState& shared = Shared();
  if (shared.instances++ == 0) {
    shared.library.Reset(LoadLibraryA("msimg32.dll"));
    FARPROC proc = shared.library ? GetProcAddress(shared.library.Get(), "GradientFill") : nullptr;
    shared.gradientFill = reinterpret_cast<GradientFillFn>(reinterpret_cast<void (*)()>(proc));
  }
  SetButtonType(kStandard);
  SetTextLayout(kCentred);
  SetFocusStyle(0);
  SetBitmap(0, RGB(255, 0, 255));
}

// The last button takes the class-wide state with it; the next one starts afresh.
CHoverButton::~CHoverButton() {
  LeaveGroup();
  ClassState& shared = Shared();
  if (--shared.instances == 0) {
    shared.gradientFill = nullptr;
    shared.library.Reset();
    shared.groups.clear();
  }
}

const MessageMap* CHoverButton::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_ERASEBKGND>(&CHoverButton::OnEraseBkgnd),
      OnMessage<WM_MOUSEMOVE>(&CHoverButton::OnMouseMove),
      OnMessage<WM_MOUSELEAVE>(&CHoverButton::OnMouseLeave),
      OnMessage<WM_LBUTTONDOWN>(&CHoverButton::OnLButtonDown),
      OnMessage<WM_LBUTTONUP>(&CHoverButton::OnLButtonUp),
      // Gaining or losing the focus redraws the face, then takes the default path.
      OnMessage<WM_SETFOCUS>(&CHoverButton::OnFocusChange),
      OnMessage<WM_KILLFOCUS>(&CHoverButton::OnFocusChange),
      OnMessage<WM_SETCURSOR>(&CHoverButton::OnSetCursor),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries};
  return &map;
}

// A bound button becomes owner-drawn; whether it was a default button is kept.
void CHoverButton::PreSubclassWindow() {
  m_wasDefault = (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & BS_TYPEMASK) != 0;
  ChangeWindowStyle(m_hWnd, GWL_STYLE, BS_TYPEMASK, BS_OWNERDRAW);
}

void CHoverButton::Repaint() const {
  if (m_hWnd) Invalidate(TRUE);
}

// ---- Settings -----------------------------------------------------------------------

void CHoverButton::SetButtonType(int type) {
  m_noFace = m_arrow = m_split = m_flat = m_hyperlink = 0;
  if (type >= 0 && type < kTypeCount) {
    m_type = type;
    m_noFace = type == kNoFace;
    m_flat = type == kFlat || type == kFlatArrow || type == kFlatSplit || type == kFlatCheckPush;
    m_arrow = type == kArrow || type == kFlatArrow;
    m_split = type == kSplit || type == kFlatSplit;
    m_hyperlink = type == kHyperlink;
    if (type != kCheckPush && type != kFlatCheckPush) m_checked = 0;
  }
  Repaint();
}

void CHoverButton::SetTextLayout(int layout) {
  m_centred = m_wordWrapped = m_textShown = 0;
  if (layout >= 0 && layout < kLayoutCount) {
    m_layout = layout;
    m_textShown = layout != kNoText;
    m_centred = layout == kCentred;
    m_wordWrapped = layout == kWrapped;
  }
  Repaint();
}

void CHoverButton::SetFocusStyle(int style) {
  m_focusStyle = style;
  Repaint();
}

void CHoverButton::SetBitmap(UINT bitmapId, COLORREF transparent) {
  m_bitmapId = bitmapId;
  m_transparent = transparent;
  Repaint();
}

void CHoverButton::SetGradient(BOOL on) {
  m_gradient = on ? 1 : 0;
  Repaint();
}

void CHoverButton::EnableButton(BOOL enable) {
  if (m_hWnd) EnableWindow(enable);
  Repaint();
}

void CHoverButton::ReleaseSplit() {
  if (!m_split) return;
  m_arrowPressed = 0;
  Repaint();
}

UINT CHoverButton::ShowMenu(HMENU menu) {
  Repaint();
  if (!menu || !m_hWnd) return 0;
  RECT rect;
  GetWindowRect(&rect);
  return UINT(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, rect.left, rect.bottom, 0,
                             GetParent(m_hWnd), nullptr));
}

// ---- Check state and groups ---------------------------------------------------------

void CHoverButton::SetCheck(int check) {
  if (!IsCheckable()) return;
  m_checked = check ? 1 : 0;
  Repaint();
  if (!m_checked || m_group.IsEmpty()) return;
  auto group = Shared().groups.find(std::string(m_group));
  if (group == Shared().groups.end()) return;
  for (CHoverButton* other : group->second)
    if (other != this && other->m_hWnd && other->m_checked) other->SetCheck(0);
}

void CHoverButton::SetGroup(const char* name) {
  if (!name || !*name) return;
  LeaveGroup();
  m_group = name;
  Shared().groups[std::string(m_group)].push_back(this);
}

void CHoverButton::LeaveGroup() {
  if (m_group.IsEmpty()) return;
  auto& groups = Shared().groups;
  auto group = groups.find(std::string(m_group));
  if (group != groups.end()) {
    auto& members = group->second;
    members.erase(std::remove(members.begin(), members.end(), this), members.end());
    if (members.empty()) groups.erase(group);
  }
  m_group.Empty();
}

// ---- Mouse, focus, cursor -----------------------------------------------------------

LRESULT CHoverButton::OnEraseBkgnd(HDC dc) {
  RECT client;
  GetClientRect(&client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  return Default();
}

// The button's own handling of the mouse and the focus runs after each of these.
bool CHoverButton::OnMouseMove() {
  if (m_flat && !m_hovering) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    m_hovering = _TrackMouseEvent(&track);
    Repaint();
  }
  return false;
}

void CHoverButton::OnMouseLeave() {
  m_hovering = FALSE;
  m_arrowPressed = 0;
  Repaint();
}

bool CHoverButton::OnLButtonDown(UINT, POINT point) {
  if (m_split) {
    RECT client;
    GetClientRect(&client);
    m_arrowPressed = point.x >= client.right - kSplitArrowWidth;
  }
  return false;
}

// Checkable buttons change state before the click is reported, so the parent reads the
// new state. Radio buttons and grouped buttons only ever check themselves.
LRESULT CHoverButton::OnLButtonUp(UINT, POINT point) {
  if (IsCheckable()) {
    RECT client;
    GetClientRect(&client);
    if (PtInRect(&client, point)) SetCheck(m_type == kRadio || !m_group.IsEmpty() ? 1 : !m_checked);
  }
  LRESULT result = Default();
  m_arrowPressed = 0;
  Repaint();
  return result;
}

bool CHoverButton::OnFocusChange() {
  Repaint();
  return false;
}

// Only the hyperlink has a cursor of its own; every other look keeps the system's choice.
LRESULT CHoverButton::OnSetCursor() {
  if (!m_hyperlink) return Default();
  SetCursor(LoadCursorA(nullptr, IDC_HAND));
  return TRUE;
}

// ---- Drawing ------------------------------------------------------------------------

bool CHoverButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return false;
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  *result = TRUE;
  return true;
}

void CHoverButton::DrawItem(const DRAWITEMSTRUCT& item) {
  ItemPaint p{item.hDC,
              item.rcItem,
              (item.itemState & ODS_SELECTED) != 0,
              (item.itemState & ODS_DISABLED) != 0,
              (item.itemState & ODS_FOCUS) != 0,
              item.rcItem.left};
  HGDIOBJ font = m_hWnd ? reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)) : nullptr;
  SelectObjectScope selectFont(p.dc, font);
  DrawFace(p);
  DrawImage(p);
  DrawBox(p);
  DrawArrow(p);
  DrawCaption(p);
  DrawFocus(p);
  DrawDefaultFrame(p);
}

bool CHoverButton::ShiftsWhenPressed() const {
  return m_type != kNoFace && !HasBox() && m_type != kHyperlink && !m_arrowPressed;
}

int CHoverButton::TextRight(const RECT& rect) const { return rect.right - (m_split ? 12 : m_arrow ? 6 : 0); }

// Looks without a face still paint the button-face colour, so a redraw without an erase
// (pressing, focus) never leaves the previous picture behind.
void CHoverButton::DrawFace(const ItemPaint& p) const {
  const RECT& r = p.rect;
  if (HasBox() || m_noFace || m_hyperlink || (m_flat && !m_checked && !m_gradient)) {
    FillColor(p.dc, r, GetSysColor(COLOR_BTNFACE));
    if (!m_flat || !m_hovering) return;
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    Draw3dRect(p.dc, r, p.selected ? dark : light, p.selected ? light : dark);
    return;
  }
  RECT face = r;
  UINT state = DFCS_BUTTONPUSH | (p.selected && !m_split ? DFCS_PUSHED : 0) | (m_checked ? DFCS_CHECKED : 0) |
               (p.disabled ? DFCS_INACTIVE : 0);
  DrawFrameControl(p.dc, &face, DFC_BUTTON, state);
  if (m_gradient) {
    RECT inner{r.left + 1, r.top + 1, r.right - 2, r.bottom - 2};
    FillGradient(p.dc, inner, RGB(255, 255, 255), m_hovering ? RGB(220, 220, 220) : RGB(200, 200, 216), true);
  }
  if (m_split && m_arrowPressed) {
    RECT arrow{r.right - 14, r.top, r.right, r.bottom - 1};
    DrawFrameControl(p.dc, &arrow, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_CHECKED);
  }
}

void CHoverButton::DrawImage(ItemPaint& p) const {
  if (!m_bitmapId) return;
  BitmapHandle bitmap = LoadBitmapResource(m_bitmapId);
  if (!bitmap) return;
  SIZE size = BitmapSize(bitmap.Get());
  int x = m_textShown || HasBox() ? p.rect.left : (p.rect.right - size.cx) / 2;
  int y = (p.rect.bottom - size.cy) / 2;
  int shift = p.selected && ShiftsWhenPressed() ? 1 : 0;
  if (p.disabled) DrawEmbossed(p.dc, bitmap.Get(), x + shift, y + shift, m_transparent);
  else DrawTransparent(p.dc, bitmap.Get(), x + shift, y + shift, m_transparent);
  p.x = x + size.cx;
}

void CHoverButton::DrawBox(ItemPaint& p) const {
  if (!HasBox()) return;
  int side = GetSystemMetrics(SM_CXSIZE) - 5;
  int left = p.x + (p.x > p.rect.left ? 5 : 0);
  int top = p.rect.top + (p.rect.bottom - p.rect.top - side) / 2;
  RECT box{left, top, left + side, top + side};
  UINT state = (m_type == kCheckBox ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | (m_checked ? DFCS_CHECKED : 0) |
               (p.selected ? DFCS_PUSHED : 0) | (p.disabled ? DFCS_INACTIVE : 0);
  DrawFrameControl(p.dc, &box, DFC_BUTTON, state);
  p.x = box.right;
}

// A small downward triangle near the bottom right; split buttons add a separator.
void CHoverButton::DrawArrow(const ItemPaint& p) const {
  if (!m_arrow && !m_split) return;
  int colour = p.disabled ? COLOR_GRAYTEXT : m_hyperlink ? COLOR_HOTLIGHT : COLOR_BTNTEXT;
  PenHandle pen(CreatePen(PS_INSIDEFRAME, 1, GetSysColor(colour)));
  SelectObjectScope selectPen(p.dc, pen.Get());
  int shift = p.selected || m_arrowPressed ? 1 : 0;
  int x = p.rect.right - 10 + shift, y = p.rect.bottom - 8 + shift;
  for (int row = 0; row < 3; ++row) {
    MoveToEx(p.dc, x + row, y + row, nullptr);
    LineTo(p.dc, x + 5 - row, y + row);
  }
  if (m_split && !m_arrowPressed) {
    RECT separator{p.rect.right - 15, p.rect.top + 3, p.rect.right - 13, p.rect.bottom - 3};
    DrawEdge(p.dc, &separator, EDGE_ETCHED, BF_LEFT);
  }
}

void CHoverButton::DrawCaption(const ItemPaint& p) const {
  int right = TextRight(p.rect);
  if (!m_textShown || p.x >= right || !m_hWnd) return;
  CString text = GetWindowText();
  FontHandle underlined;
  if (m_hyperlink) {
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(p.dc, OBJ_FONT), sizeof font, &font);
    font.lfUnderline = TRUE;
    underlined.Reset(CreateFontIndirectA(&font));
  }
  SelectObjectScope selectFont(p.dc, underlined.Get());
  UINT flags = m_wordWrapped ? DT_WORDBREAK | DT_WORD_ELLIPSIS : DT_SINGLELINE | DT_END_ELLIPSIS;
  RECT area{p.x, p.rect.top, right, p.rect.bottom};
  RECT measured = area;
  DrawTextA(p.dc, text, -1, &measured, flags | DT_CALCRECT);
  int width = std::min(measured.right - measured.left, area.right - area.left);
  int height = std::min(measured.bottom - measured.top, area.bottom - area.top);
  if (m_centred && width < area.right - area.left) InflateRect(&area, -(area.right - area.left - width) / 2, 0);
  area.top = p.rect.top + (p.rect.bottom - p.rect.top - height) / 2;
  area.bottom = area.top + height;
  if (p.selected && ShiftsWhenPressed()) OffsetRect(&area, 1, 1);
  DcStateScope state(p.dc);
  SetBkMode(p.dc, TRANSPARENT);
  if (p.disabled) {
    RECT raised = area;
    OffsetRect(&raised, 1, 1);
    SetTextColor(p.dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(p.dc, text, -1, &raised, flags);
    SetTextColor(p.dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(p.dc, m_hyperlink ? kHyperlinkColor : m_textColor);
  }
  DrawTextA(p.dc, text, -1, &area, flags);
}

void CHoverButton::DrawFocus(const ItemPaint& p) const {
  if (m_type == kNoFace || m_flat || !m_focusStyle || !p.focus) return;
  RECT focus{p.x + 4, p.rect.top + 4, TextRight(p.rect) - 4, p.rect.bottom - 4};
  if (!IsRectEmpty(&focus)) DrawFocusRect(p.dc, &focus);
}

void CHoverButton::DrawDefaultFrame(const ItemPaint& p) const {
  bool framed = m_type == kStandard || m_type == kArrow || m_type == kSplit;
  if (!framed || m_focusStyle != 2 || !p.focus || !m_wasDefault) return;
  const RECT& r = p.rect;
  COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  FrameColor(p.dc, r, dark);
  if (p.selected) {
    FrameColor(p.dc, {r.left - 1, r.top - 1, r.right - 1, r.bottom - 1}, dark);
    return;
  }
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  FillColor(p.dc, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, dark);
  FillColor(p.dc, {r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, dark);
  FillColor(p.dc, {r.left + 1, r.top + 1, r.right - 2, r.top + 2}, light);
  FillColor(p.dc, {r.left + 1, r.top + 1, r.left + 2, r.bottom - 2}, light);
  FillColor(p.dc, {r.right - 3, r.top + 2, r.right - 2, r.bottom - 2}, shadow);
  FillColor(p.dc, {r.left + 2, r.bottom - 3, r.right - 2, r.bottom - 2}, shadow);
}

// ---- Painting pieces ----------------------------------------------------------------

void CHoverButton::FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical, bool useSystem) {
  GradientFillFn system = useSystem ? Shared().gradientFill : nullptr;
  if (system) {
    TRIVERTEX corners[2] = {
        {rect.left, rect.top, COLOR16(GetRValue(from) << 8), COLOR16(GetGValue(from) << 8),
         COLOR16(GetBValue(from) << 8), 0},
        {rect.right, rect.bottom, COLOR16(GetRValue(to) << 8), COLOR16(GetGValue(to) << 8), COLOR16(GetBValue(to) << 8),
         0},
    };
    GRADIENT_RECT mesh{0, 1};
    if (system(dc, corners, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H)) return;
  }
  int size = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  for (int i = 0; i < 255; ++i) {
    int start = i * size / 255, end = (i + 1) * size / 255;
    if (start == end) continue;
    COLORREF colour = RGB(Between(GetRValue(from), GetRValue(to), i), Between(GetGValue(from), GetGValue(to), i),
                          Between(GetBValue(from), GetBValue(to), i));
    RECT band = vertical ? RECT{rect.left, rect.top + start, rect.right, rect.top + end}
                         : RECT{rect.left + start, rect.top, rect.left + end, rect.bottom};
    FillColor(dc, band, colour);
  }
}

// A one-bit mask marks the transparent pixels: they are cleared in a copy of the bitmap,
// the opaque ones are cleared in the target, and the copy is ORed on.
void CHoverButton::DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent) {
  SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return;
  BitmapDc source(dc, bitmap);
  BitmapHandle copyBitmap(CreateCompatibleBitmap(dc, size.cx, size.cy));
  BitmapDc copy(dc, copyBitmap.Get());
  BitmapHandle maskBitmap(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
  BitmapDc mask(dc, maskBitmap.Get());

  BitBlt(copy.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
  SetBkColor(copy.Get(), transparent);
  BitBlt(mask.Get(), 0, 0, size.cx, size.cy, copy.Get(), 0, 0, SRCCOPY);
  SetBkColor(copy.Get(), RGB(0, 0, 0));
  SetTextColor(copy.Get(), RGB(255, 255, 255));
  BitBlt(copy.Get(), 0, 0, size.cx, size.cy, mask.Get(), 0, 0, SRCAND);

  DcStateScope state(dc);
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, size.cx, size.cy, mask.Get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, size.cx, size.cy, copy.Get(), 0, 0, SRCPAINT);
}

// White and transparent pixels count as background; everything else is the shape, drawn
// in the highlight colour one pixel down and right, then in the shadow colour on top.
void CHoverButton::DrawEmbossed(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent) {
  SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return;
  BitmapDc source(dc, bitmap);
  BitmapHandle shapeBitmap(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
  BitmapDc shape(dc, shapeBitmap.Get());
  SetBkColor(source.Get(), RGB(255, 255, 255));
  BitBlt(shape.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
  SetBkColor(source.Get(), transparent);
  BitBlt(shape.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCPAINT);

  FillColor(dc, {x, y, x + size.cx, y + size.cy}, GetSysColor(COLOR_BTNFACE));
  DcStateScope state(dc);
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  const DWORD kPaintWhereBlack = 0x00B8074A;  // brush where the source is 0, target elsewhere
  {
    SelectObjectScope brush(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, x + 1, y + 1, size.cx, size.cy, shape.Get(), 0, 0, kPaintWhereBlack);
  }
  {
    SelectObjectScope brush(dc, GetSysColorBrush(COLOR_BTNSHADOW));
    BitBlt(dc, x, y, size.cx, size.cy, shape.Get(), 0, 0, kPaintWhereBlack);
  }
}
