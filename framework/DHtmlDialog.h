// CDHtmlDialog: a dialog whose body is a page from the program's resources (type 23). The
// page is read (framework/HtmlPage.h) and built as real child windows behind the
// template's controls, on the body's background colour; a click on a page element (the
// mouse, or Space or Enter while it has the focus) runs the element's row of the class's
// HTML event map. A page that is missing, empty, too large or damaged leaves a dialog that
// works without it.
//
//   const HtmlEventMap* CMyDlg::GetHtmlEventMap() const {
//     static const HtmlEventEntry rows[] = {
//         OnHtmlClick("ButtonOK", &CMyDlg::OnButtonOK),
//     };
//     static const HtmlEventMap map{CDHtmlDialog::GetHtmlEventMap(), rows};
//     return &map;
//   }
//
// The base map already sends "ButtonOK" to OnOK and "ButtonCancel" to OnCancel.
#pragma once

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "framework/HtmlPage.h"
#include "framework/RowTable.h"

// A page element as its click handler sees it.
struct CHtmlElement {
  std::string id;
  HWND window;
};

class CDHtmlDialog;
using HtmlEventHandler = HRESULT (CDHtmlDialog::*)(CHtmlElement*);
constexpr DISPID kHtmlClick = -600;

struct HtmlEventEntry {
  const char* elementId;
  DISPID dispid;
  HtmlEventHandler handler;
};

using HtmlEventMap = RowTable<HtmlEventEntry>;

// One row of an HTML event map: a click on element `id` calls `handler`.
template <class T> HtmlEventEntry OnHtmlClick(const char* id, HRESULT (T::*handler)(CHtmlElement*)) {
  return {id, kHtmlClick, static_cast<HtmlEventHandler>(handler)};
}

class CDHtmlDialog : public CDialog {
 public:
  CDHtmlDialog(UINT templateId, UINT pageId, CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  virtual const HtmlEventMap* GetHtmlEventMap() const;

  HRESULT OnButtonOK(CHtmlElement* element);
  HRESULT OnButtonCancel(CHtmlElement* element);

  // The page as it was read; empty when there was none.
  const html::Page& GetPage() const { return m_page; }
  // The window of page element `id`, or nullptr.
  HWND GetElementWindow(const char* id) const;
  // Runs the event map's row for `dispid` on element `id`: S_FALSE when no row has it.
  HRESULT FireHtmlEvent(const char* id, DISPID dispid = kHtmlClick);

 protected:
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  UINT m_pageId;

 private:
  struct Element {
    std::string id;
    HWND window;
  };
  void LoadPage();
  void BuildPage();
  void PlaceTable(HDC dc, const html::Table& table, int* y);
  void PlaceItem(HDC dc, const html::Item& item, html::Align align, const RECT& cell, int y);
  int ItemHeight(HDC dc, const html::Item& item) const;
  int CellHeight(HDC dc, const html::Cell& cell) const;
  HWND PageElement(UINT id) const;
  bool OnPageCommand(WPARAM wParam);
  bool PageColours(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  html::Page m_page;
  std::vector<Element> m_elements;
  BrushHandle m_background;
  int m_buttonHeight = 23;
};

// Run-time class names: a table of name and factory per creatable class.
struct DHtmlClassEntry {
  const char* name;
  CDHtmlDialog* (*create)();
};

// A new object of the class named `name` in `table`, or nullptr when none has that name.
template <size_t N> CDHtmlDialog* CreateDHtmlDialog(const DHtmlClassEntry (&table)[N], const char* name) {
  for (const DHtmlClassEntry& entry : table)
    if (name && std::string(entry.name) == name) return entry.create();
  return nullptr;
}
