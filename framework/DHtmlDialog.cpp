#include "framework/DHtmlDialog.h"

#include <algorithm>

namespace {
// Page elements get control ids from here on, clear of the templates' ids.
constexpr UINT kFirstElementId = 0x7F00;
constexpr UINT kMaxElements = 0xFF;
constexpr int kMargin = 8;   // around the body, as a browser leaves it
constexpr int kPadding = 2;  // inside a cell
constexpr int kSpacing = 2;  // between rows and between a cell's lines

const char* PageResourceType() { return MAKEINTRESOURCEA(23); }

std::string ReadPageResource(UINT id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), PageResourceType());
  if (!found) return "";
  DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes || size == 0 || size > html::kMaxPageBytes) return "";
  return std::string(bytes, size);
}

SIZE TextSize(HDC dc, const std::string& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  return size;
}
}  // namespace

CDHtmlDialog::CDHtmlDialog(UINT templateId, UINT pageId, CWnd* parent)
    : CDialog(templateId, parent), m_pageId(pageId) {}

const HtmlEventMap* CDHtmlDialog::GetHtmlEventMap() const {
  static const HtmlEventEntry rows[] = {
      OnHtmlClick("ButtonOK", &CDHtmlDialog::OnButtonOK),
      OnHtmlClick("ButtonCancel", &CDHtmlDialog::OnButtonCancel),
  };
  static const HtmlEventMap map{nullptr, rows};
  return &map;
}

HRESULT CDHtmlDialog::OnButtonOK(CHtmlElement*) {
  OnOK();
  return S_OK;
}

HRESULT CDHtmlDialog::OnButtonCancel(CHtmlElement*) {
  OnCancel();
  return S_OK;
}

BOOL CDHtmlDialog::OnInitDialog() {
  LoadPage();
  return CDialog::OnInitDialog();
}

void CDHtmlDialog::LoadPage() {
  m_page = html::ParsePage(ReadPageResource(m_pageId));
  if (m_page.hasBackground) m_background.Reset(CreateSolidBrush(m_page.background));
  BuildPage();
}

HWND CDHtmlDialog::GetElementWindow(const char* id) const {
  for (const Element& element : m_elements)
    if (id && element.id == id) return element.window;
  return nullptr;
}

HRESULT CDHtmlDialog::FireHtmlEvent(const char* id, DISPID dispid) {
  if (!id) return S_FALSE;
  CHtmlElement element{id, GetElementWindow(id)};
  for (const HtmlEventMap* map = GetHtmlEventMap(); map; map = map->base)
    for (size_t i = 0; i < map->count; ++i)
      if (map->entries[i].dispid == dispid && element.id == map->entries[i].elementId)
        return (this->*map->entries[i].handler)(&element);
  return S_FALSE;
}

// Children are made in page order and each goes behind everything made before, so the
// template's controls stay in front and first in the tab order.
void CDHtmlDialog::BuildPage() {
  WindowDc dc(m_hWnd);
  HFONT font = WindowFont(m_hWnd);
  SelectObjectScope selectFont(dc.Get(), font);
  RECT units{0, 0, 0, 14};
  MapDialogRect(m_hWnd, &units);
  m_buttonHeight = std::max<int>(units.bottom, 16);
  int y = kMargin;
  for (const html::Table& table : m_page.tables) PlaceTable(dc.Get(), table, &y);
}

int CDHtmlDialog::ItemHeight(HDC dc, const html::Item& item) const {
  return item.isButton ? m_buttonHeight : TextSize(dc, item.text.empty() ? " " : item.text).cy;
}

int CDHtmlDialog::CellHeight(HDC dc, const html::Cell& cell) const {
  int height = 0;
  for (const html::Item& item : cell.items) height += ItemHeight(dc, item) + kSpacing;
  return height ? height - kSpacing : 0;
}

void CDHtmlDialog::PlaceTable(HDC dc, const html::Table& table, int* y) {
  RECT client;
  GetClientRect(&client);
  int available = std::max<int>(0, client.right - 2 * kMargin);
  int width = table.widthPercent ? available * table.widthPercent / 100 : table.widthPx ? table.widthPx : available;
  for (const html::Row& row : table.rows) {
    int content = 0;
    for (const html::Cell& cell : row.cells) content = std::max(content, CellHeight(dc, cell));
    int height = std::max(row.heightPx, content + 2 * kPadding);
    int cells = std::max<int>(1, int(row.cells.size()));
    for (int i = 0; i < int(row.cells.size()); ++i) {
      const html::Cell& cell = row.cells[i];
      RECT box{kMargin + width * i / cells + kPadding, *y + kPadding, kMargin + width * (i + 1) / cells - kPadding,
               *y + height - kPadding};
      int used = CellHeight(dc, cell), top = box.top;
      if (cell.valign == html::VAlign::kMiddle) top += (box.bottom - box.top - used) / 2;
      if (cell.valign == html::VAlign::kBottom) top = box.bottom - used;
      for (const html::Item& item : cell.items) {
        PlaceItem(dc, item, cell.align, box, top);
        top += ItemHeight(dc, item) + kSpacing;
      }
    }
    *y += height + kSpacing;
  }
}

void CDHtmlDialog::PlaceItem(HDC dc, const html::Item& item, html::Align align, const RECT& cell, int y) {
  if (m_elements.size() >= kMaxElements) return;
  SIZE text = TextSize(dc, item.text);
  int width = item.isButton ? (item.widthPx ? item.widthPx : text.cx + 16) : text.cx;
  int x = cell.left;
  if (align == html::Align::kCentre) x = (cell.left + cell.right - width) / 2;
  if (align == html::Align::kRight) x = cell.right - width;
  UINT id = kFirstElementId + UINT(m_elements.size());
  const char* className = item.isButton ? "BUTTON" : "STATIC";
  // Clipped by the template's controls above it, so the page never paints over them.
  DWORD style =
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (item.isButton ? BS_PUSHBUTTON | WS_TABSTOP : SS_LEFT | SS_NOPREFIX);
  HWND window = CreateWindowExA(0, className, item.text.c_str(), style, x, y, width, ItemHeight(dc, item), m_hWnd,
                                reinterpret_cast<HMENU>(UINT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window) return;
  ::SendMessageA(window, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
  SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_elements.push_back({item.isButton ? item.id : std::string(), window});
}

HWND CDHtmlDialog::PageElement(UINT id) const {
  if (id < kFirstElementId || id >= kFirstElementId + m_elements.size()) return nullptr;
  return m_elements[id - kFirstElementId].window;
}

bool CDHtmlDialog::OnPageCommand(WPARAM wParam) {
  UINT id = LOWORD(wParam);
  if (!PageElement(id)) return false;
  if (HIWORD(wParam) == BN_CLICKED) FireHtmlEvent(m_elements[id - kFirstElementId].id.c_str());
  return true;
}

// The body's colour behind the page and under the page's own text and the template's
// plain statics and check boxes; controls with objects of their own colour themselves.
bool CDHtmlDialog::PageColours(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!m_background) return false;
  if (message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(&client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, m_background.Get());
    *result = TRUE;
    return true;
  }
  HWND child = reinterpret_cast<HWND>(lParam);
  if (message != WM_CTLCOLORSTATIC || CWnd::FromHandlePermanent(child)) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkColor(dc, m_page.background);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  *result = reinterpret_cast<LRESULT>(m_background.Get());
  return true;
}

bool CDHtmlDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && lParam && OnPageCommand(wParam)) {
    result = 0;
    return true;
  }
  if ((message == WM_ERASEBKGND || message == WM_CTLCOLORSTATIC) && PageColours(message, wParam, lParam, &result))
    return true;
  return CDialog::Dispatch(message, wParam, lParam, result);
}
