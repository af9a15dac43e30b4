#include "notes/HelpDlg.h"

#include <olectl.h>

#include <richedit.h>

#include "res/resource.h"

CHelpDlg::CHelpDlg(CWnd* parent) : CDHtmlDialog(IDD_HELP, IDR_PAGE_HELP, parent) {}

const EventSinkMap* CHelpDlg::GetEventSinkMap() const {
  static const EventSinkEntry entries[] = {
      OnEvent<&CHelpDlg::OnClose>(IDC_HELP_CLOSE, DISPID_CLICK),
  };
  static const EventSinkMap map{CDHtmlDialog::GetEventSinkMap(), entries};
  return &map;
}

void CHelpDlg::DoDataExchange(CDataExchange* pDX) {
  CDHtmlDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_HELP_TEXT, m_text);
}

BOOL CHelpDlg::OnInitDialog() {
  CDHtmlDialog::OnInitDialog();
  // Wrap lines at the window's width; the field scrolls sideways only as it is typed in.
  m_text.SendMessage(EM_SETTARGETDEVICE, 0, 0);
  m_text.StreamInResource(IDR_HELP_TEXT, "h_text");
  return TRUE;
}

void CHelpDlg::OnClose() { EndDialog(0); }
