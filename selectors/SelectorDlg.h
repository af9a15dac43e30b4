// The selector windows: one small window per category, a file view on the category's
// folder over the window's page. The bar creates one per click, modeless and owned by the
// bar, and destroys it when the category's time is up. The eight classes differ only in
// their template and page; `audio` also binds its view and hears two of its events.
#pragma once

#include "framework/DHtmlDialog.h"
#include "hosted/Fileviewctrl1.h"
#include "res/resource.h"

class CSelectorDlg : public CDHtmlDialog {
 public:
  CSelectorDlg(UINT templateId, UINT pageId, CWnd* parent) : CDHtmlDialog(templateId, pageId, parent) {}
  // Created by the bar with its own template id.
  BOOL Create(CWnd* parent = nullptr) { return CDHtmlDialog::Create(m_templateId, parent); }
  using CDHtmlDialog::Create;

  void OnOK() override;
  void OnCancel() override;

  // The object belongs to `slot` from now on: it frees itself when its window is gone and
  // then clears the slot if the slot still holds it.
  void KeepIn(CSelectorDlg** slot) { m_slot = slot; }
  // A window whose slot has moved on to a newer one: no timer will destroy it, so ending it
  // destroys it instead of only hiding it (and one hidden already goes now).
  void Untrack();

 protected:
  void PostNcDestroy() override;

 private:
  void DestroyIfUntracked();
  CSelectorDlg** m_slot = nullptr;
  bool m_untracked = false;
};

template <UINT Template, UINT Page> class CSelectorOf : public CSelectorDlg {
 public:
  explicit CSelectorOf(CWnd* parent = nullptr) : CSelectorDlg(Template, Page, parent) {}
};

// NOLINTBEGIN(readability-identifier-naming): the classes carry their run-time names.
class vide : public CSelectorOf<IDD_SELECTOR_VIDEO, IDR_PAGE_VIDEO> {
  using CSelectorOf::CSelectorOf;
};
class office : public CSelectorOf<IDD_SELECTOR_OFFICE, IDR_PAGE_OFFICE> {
  using CSelectorOf::CSelectorOf;
};
class web : public CSelectorOf<IDD_SELECTOR_INTERNET, IDR_PAGE_INTERNET> {
  using CSelectorOf::CSelectorOf;
};
class graphic : public CSelectorOf<IDD_SELECTOR_GRAPHIC, IDR_PAGE_GRAPHIC> {
  using CSelectorOf::CSelectorOf;
};
class program : public CSelectorOf<IDD_SELECTOR_PROGRAM, IDR_PAGE_PROGRAM> {
  using CSelectorOf::CSelectorOf;
};
class syst : public CSelectorOf<IDD_SELECTOR_SYSTEM, IDR_PAGE_SYSTEM> {
  using CSelectorOf::CSelectorOf;
};
class photo : public CSelectorOf<IDD_SELECTOR_PHOTO, IDR_PAGE_PHOTO> {
  using CSelectorOf::CSelectorOf;
};

class audio : public CSelectorOf<IDD_SELECTOR_AUDIO, IDR_PAGE_AUDIO> {
 public:
  using CSelectorOf::CSelectorOf;
  void DoDataExchange(CDataExchange* pDX) override;
  const EventSinkMap* GetEventSinkMap() const override;

  CFileviewctrl1 m_fileView;

 private:
  void OnFolderShown(IDispatch*, long, long) {}
  void OnItemOpened(IDispatch*, bool) {}
};
// NOLINTEND(readability-identifier-naming)

// The selector classes by run-time name ("vide", "audio", ...); nullptr for another name.
CSelectorDlg* CreateSelector(const char* name);
