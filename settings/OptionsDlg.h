// options: the options window. It shows the category folders for the user to fill (a file
// view on C:\tyb\TYBICONS) and the settings, which Close writes; the bar reads them at its
// next start. Escape and the close box do nothing; Enter and the page's OK and Cancel end
// the window without writing.
#pragma once

#include "framework/Button.h"
#include "framework/DHtmlDialog.h"
#include "framework/Edit.h"
#include "hosted/Fileviewctrl1.h"

// NOLINTNEXTLINE(readability-identifier-naming): the class carries its run-time name.
class options : public CDHtmlDialog {
 public:
  explicit options(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnCancel() override {}
  const EventSinkMap* GetEventSinkMap() const override;
  const HtmlEventMap* GetHtmlEventMap() const override;

  void OnBack();
  void OnCloseOptions();
  void OnAbout();

  CButton m_loadStartupCheck;
  CEdit m_selTimeEdit;
  CFileviewctrl1 m_fileView;

 private:
  HRESULT OnPageCancel(CHtmlElement*);
  bool IsChecked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
  void OnBeforeTransfer(IDispatch*, long*, long, VARIANT_BOOL*) {}
  void OnDrop(IDispatch*, long, long, long, float, float, IDispatch*, VARIANT_BOOL*) {}
  void OnDragOver(IDispatch*, long*, long, long, float, float, long, IDispatch*) {}
};
