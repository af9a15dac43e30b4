#include "ocx/captionbutton/CaptionButton.h"

#include <olectl.h>

#include <map>
#include <string>
#include <tuple>

#include "framework/BufferedPaint.h"
#include "ocx/captionbutton/CaptionButtonContract.h"

namespace {
int CALLBACK FoundFont(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(const char* face) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  WindowDc screen(nullptr);
  EnumFontFamiliesExA(screen.Get(), &wanted, &FoundFont, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// What the caption buttons share: their fonts, one for each face, size and weight, and one
// back buffer, since buttons paint one at a time on the one thread. Each button made a
// font of its own and a bitmap for every paint before; the bar alone has twenty. The
// buffer goes first, so no font is deleted while it is selected into the buffer.
struct SharedTools {
  std::map<std::tuple<std::string, LONG, LONG>, FontHandle> fonts;
  CBackBuffer buffer;
};

SharedTools& Shared() {
  static SharedTools tools;
  return tools;
}

HFONT SharedFont(const LOGFONTA& font) {
  FontHandle& slot = Shared().fonts[{font.lfFaceName, font.lfHeight, font.lfWeight}];
  if (!slot) slot.Reset(CreateFontIndirectA(&font));
  return slot.Get();
}

int ScreenPixelsPerInch() {
  static const int pixels = GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY);
  return pixels;
}

COLORREF Blend(COLORREF a, COLORREF b, int percentB) {
  auto mix = [&](int x, int y) { return BYTE((x * (100 - percentB) + y * percentB) / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}
}  // namespace

void CCaptionButton::Register() {
  CHostedControl::RegisterControlClass<CCaptionButton>(CLSID_CLASS_CAPTION_BUTTON, LoadCursorA(nullptr, IDC_HAND));
}

const MessageMap* CCaptionButton::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_PAINT>(&CCaptionButton::OnPaint),
      OnMessage<WM_PRINTCLIENT>(&CCaptionButton::OnPrintClient),
      OnMessage<WM_ERASEBKGND>(&CCaptionButton::OnEraseBkgnd),
      OnMessage<WM_MOUSEMOVE>(&CCaptionButton::OnMouseMove),
      OnMessage<WM_MOUSELEAVE>(&CCaptionButton::OnMouseLeave),
      OnMessage<WM_LBUTTONDOWN>(&CCaptionButton::OnLButtonDown),
      OnMessage<WM_LBUTTONDBLCLK>(&CCaptionButton::OnLButtonDown),
      OnMessage<WM_LBUTTONUP>(&CCaptionButton::OnLButtonUp),
      OnMessage<WM_CAPTURECHANGED>(&CCaptionButton::OnCaptureChanged),
      OnMessage<WM_KEYDOWN>(&CCaptionButton::OnKeyDown),
      OnMessage<WM_GETDLGCODE>(&CCaptionButton::OnGetDlgCode),
      OnMessage<WM_SETFOCUS>(&CCaptionButton::OnSetFocus),
      OnMessage<WM_KILLFOCUS>(&CCaptionButton::OnKillFocus),
      OnMessage<WM_ENABLE>(&CCaptionButton::OnEnable),
      OnMessage<WM_SETTEXT>(&CCaptionButton::OnSetText),
  };
  static const MessageMap map{CHostedControl::GetMessageMap(), entries};
  return &map;
}

void CCaptionButton::OnCreateControl() {
  m_caption = StoredValue("caption", GetWindowText());
  CString face = StoredValue("font", "Arial");
  int points = StoredInt("size", 8);
  if (points < 1 || points > 72) points = 8;
  LOGFONTA font{};
  font.lfHeight = -MulDiv(points, ScreenPixelsPerInch(), 72);
  font.lfWeight = StoredInt("bold", 0) == 1 ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  // A symbol font that is not installed would show its letters in another face: the one
  // symbol font the program uses is drawn as its arrow instead.
  m_arrowShape = face.CompareNoCase("Wingdings 3") == 0 && !FontInstalled(face);
  m_font = SharedFont(font);
  m_fore = StoredColour("fore", GetSysColor(COLOR_BTNTEXT));
  m_back = StoredColour("back", GetSysColor(COLOR_BTNFACE));
  m_hover = StoredColour("hover", Blend(m_back, RGB(255, 255, 255), 50));
}

BOOL CCaptionButton::OnEraseBkgnd() { return TRUE; }  // painted whole in OnPaint

// Draws into a device context given by the caller (printing, captures, tests).
void CCaptionButton::OnPrintClient(HDC dc, UINT) {
  RECT client;
  GetClientRect(&client);
  Draw(dc, client);
}

void CCaptionButton::OnPaint() {
  CBackBuffer& buffer = Shared().buffer;
  PaintBuffered(
      m_hWnd,
      [&](HDC dc, const RECT& client) {
        if (m_font && !m_arrowShape) buffer.Keep(m_font);  // an arrow drawn as a shape needs no font
        Draw(dc, client);
      },
      &buffer);
}

void CCaptionButton::Draw(HDC dc, const RECT& client) const {
  bool enabled = IsWindowEnabled(m_hWnd);
  COLORREF face = !enabled      ? Blend(m_back, GetSysColor(COLOR_BTNFACE), 50)
                  : IsPressed() ? Blend(m_back, RGB(0, 0, 0), 15)
                  : m_hot       ? m_hover
                                : m_back;
  SetDCBrushColor(dc, face);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  RECT frame = client;
  DrawEdge(dc, &frame, IsPressed() ? EDGE_SUNKEN : (m_hot ? EDGE_RAISED : BDR_RAISEDINNER), BF_RECT);

  RECT text = client;
  if (IsPressed()) OffsetRect(&text, 1, 1);
  COLORREF ink = enabled ? m_fore : GetSysColor(COLOR_GRAYTEXT);
  if (m_arrowShape) {
    DrawArrow(dc, text, ink);
  } else {
    SelectObjectScope font(dc, GetCurrentObject(dc, OBJ_FONT) == m_font ? nullptr : m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    DrawTextA(dc, m_caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (m_focused) {
    RECT focus = client;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

// A right-pointing triangle, the glyph the symbol font has for the caption.
void CCaptionButton::DrawArrow(HDC dc, const RECT& area, COLORREF colour) const {
  int height = (area.bottom - area.top) / 2;
  int cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
  POINT points[3] = {{cx - height / 2, cy - height / 2}, {cx - height / 2, cy + height / 2}, {cx + height / 2, cy}};
  BrushHandle brush(CreateSolidBrush(colour));
  PenHandle pen(CreatePen(PS_SOLID, 1, colour));
  SelectObjectScope selectBrush(dc, brush.Get());
  SelectObjectScope selectPen(dc, pen.Get());
  Polygon(dc, points, 3);
}

bool CCaptionButton::ContainsPoint(POINT point) const {
  RECT client;
  GetClientRect(&client);
  return PtInRect(&client, point);
}

void CCaptionButton::SetHot(bool hot) {
  if (hot == m_hot) return;
  m_hot = hot;
  Invalidate(FALSE);
}

void CCaptionButton::OnMouseMove(UINT, POINT point) {
  if (!m_tracking) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
    m_tracking = TrackMouseEvent(&track);
  }
  SetHot(ContainsPoint(point));
}

void CCaptionButton::OnMouseLeave() {
  m_tracking = false;
  if (!m_pressed) SetHot(false);
}

void CCaptionButton::OnLButtonDown() {
  if (GetFocus() != m_hWnd) SetFocus(m_hWnd);
  m_pressed = true;
  m_hot = true;
  SetCapture(m_hWnd);
  Invalidate(FALSE);
}

void CCaptionButton::OnLButtonUp(UINT, POINT point) {
  bool click = m_pressed && ContainsPoint(point);
  m_pressed = false;
  if (GetCapture() == m_hWnd) ReleaseCapture();
  SetHot(ContainsPoint(point));
  Invalidate(FALSE);
  if (click) FireEvent(DISPID_CLICK);
}

void CCaptionButton::OnCaptureChanged() {
  if (m_pressed) {
    m_pressed = false;
    Invalidate(FALSE);
  }
}

void CCaptionButton::OnKeyDown(UINT key, UINT, UINT flags) {
  bool repeat = (flags & KF_REPEAT) != 0;
  if ((key == VK_SPACE || key == VK_RETURN) && !repeat) FireEvent(DISPID_CLICK);
}

// Space and Enter belong to the button while it has the focus, not to the dialog.
UINT CCaptionButton::OnGetDlgCode(UINT, const MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE))
    return DLGC_WANTMESSAGE;
  return DLGC_BUTTON;
}

// The focus is followed here rather than asked for at each paint, which under Wine is a
// call to the server for each of the bar's twenty buttons.
void CCaptionButton::OnSetFocus() {
  m_focused = true;
  Invalidate(FALSE);
}

void CCaptionButton::OnKillFocus() {
  m_focused = false;
  Invalidate(FALSE);
}

void CCaptionButton::OnEnable() { Invalidate(FALSE); }

LRESULT CCaptionButton::OnSetText(const char* text) {
  LRESULT result = Default();
  m_caption = text ? text : "";
  Invalidate(FALSE);
  return result;
}
