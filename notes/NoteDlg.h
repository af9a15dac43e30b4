// CNoteDlg: the sticky note. A small window without a title bar holding a pale yellow,
// multi-line field and two buttons. The text is saved whenever the field loses the focus
// and by "Save and Close"; "Close" stores the emptied note instead, so it is not reopened.
#pragma once

#include <memory>
#include <string>

#include "controls/ColorEdit.h"
#include "framework/DHtmlDialog.h"

class CNoteDlg : public CDHtmlDialog {
 public:
  explicit CNoteDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  const MessageMap* GetMessageMap() const override;
  const EventSinkMap* GetEventSinkMap() const override;

  void OnSaveAndClose();
  void OnClose();

  // Where the note is kept; note1.txt in the current folder unless a test says otherwise.
  std::string m_notePath;

 protected:
  void OnFieldKillFocus();
  // Stores `text`; on failure tells the user once and keeps the window and its text.
  bool Save(const std::string& text);
  // Ends the window without a focus change saving the field over the button's write.
  void EndWithoutFocusSave();
  // The failure box, shown from the window's own queue: a save that fails while the bar is
  // still starting must not hold the bar back behind a box.
  LRESULT OnLaterReport(WPARAM, LPARAM);

  CColorEdit m_text;

 private:
  bool m_endingDialog = false;  // a focus change now is ours, not the user's: no save
  bool m_ended = false;         // a button ended the note: its write is the last one
  bool m_failureShown = false;  // a failed save was reported and no click has come since
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);  // expires with the object
};
