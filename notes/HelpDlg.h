// CHelpDlg: the help window, the program's RTF help document in a large rich edit
// control with a Close button. The text can be edited; nothing is ever saved.
#pragma once

#include "framework/DHtmlDialog.h"
#include "notes/OleRichEditCtrl.h"

class CHelpDlg : public CDHtmlDialog {
 public:
  explicit CHelpDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  const EventSinkMap* GetEventSinkMap() const override;

  void OnClose();

 protected:
  COleRichEditCtrl m_text;
};
