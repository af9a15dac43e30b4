#include "notes/NoteDlg.h"

#include <olectl.h>

#include "framework/PrivateMessages.h"
#include "framework/WinApp.h"
#include "notes/NoteFile.h"
#include "notes/NoteRecord.h"
#include "res/resource.h"

namespace {
constexpr COLORREF kNoteBackground = 0x0093EFF5;  // pale yellow
constexpr COLORREF kNoteText = 0x00000000;
constexpr char kSaveFailed[] =
    "The note could not be saved. Your text is still in the note window; close other programs "
    "that may be using note1.txt or make the file writable, then try again.";
}  // namespace

CNoteDlg::CNoteDlg(CWnd* parent) : CDHtmlDialog(IDD_NOTE, IDR_PAGE_NOTE, parent), m_notePath(note::kFileName) {}

const MessageMap* CNoteDlg::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnCommand(IDC_NOTE_TEXT, EN_KILLFOCUS, &CNoteDlg::OnFieldKillFocus),
      OnMessage(kLaterNoteReportMessage, &CNoteDlg::OnLaterReport),
  };
  static const MessageMap map{CDHtmlDialog::GetMessageMap(), entries};
  return &map;
}

const EventSinkMap* CNoteDlg::GetEventSinkMap() const {
  static const EventSinkEntry entries[] = {
      OnEvent<&CNoteDlg::OnSaveAndClose>(IDC_NOTE_SAVE_CLOSE, DISPID_CLICK),
      OnEvent<&CNoteDlg::OnClose>(IDC_NOTE_CLOSE, DISPID_CLICK),
  };
  static const EventSinkMap map{CDHtmlDialog::GetEventSinkMap(), entries};
  return &map;
}

void CNoteDlg::DoDataExchange(CDataExchange* pDX) {
  CDHtmlDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_NOTE_TEXT, m_text);
}

// A missing or unreadable note is simply an empty one. The whole stored text comes back,
// every line of it, and the field takes no more than the record holds.
BOOL CNoteDlg::OnInitDialog() {
  CDHtmlDialog::OnInitDialog();
  m_text.SetBkColor(kNoteBackground);
  m_text.SetTextColor(kNoteText);
  m_text.SetLimitText(note::kMaxTextChars);
  m_text.SetWindowText(note::TextOfRecord(note::ReadStoredRecord(m_notePath.c_str())).c_str());
  return TRUE;
}

void CNoteDlg::OnFieldKillFocus() {
  if (!m_endingDialog && !m_ended) Save(m_text.GetWindowText().GetString());
}

// A click is one attempt: its focus-loss save and the button's own report a failure once
// between them, and the next click may report again.
void CNoteDlg::OnSaveAndClose() {
  if (Save(m_text.GetWindowText().GetString())) EndWithoutFocusSave();
  m_failureShown = false;
}

void CNoteDlg::OnClose() {
  if (Save(note::kEmptiedNote)) EndWithoutFocusSave();
  m_failureShown = false;
}

// The focus may still leave the field as the window goes; the button's write stays.
void CNoteDlg::EndWithoutFocusSave() {
  m_ended = true;
  m_endingDialog = true;
  EndDialog(0);
  m_endingDialog = false;
}

bool CNoteDlg::Save(const std::string& text) {
  if (note::SaveNote(text, m_notePath.c_str())) {
    m_failureShown = false;
    return true;
  }
  if (!m_failureShown) {
    m_failureShown = true;
    PostMessage(kLaterNoteReportMessage);
  }
  return false;
}

// The box takes the focus from the field; that save must not report the failure again.
// The window may be destroyed while the box is up (the bar ended), and this object with it.
LRESULT CNoteDlg::OnLaterReport(WPARAM, LPARAM) {
  std::weak_ptr<bool> alive = m_alive;
  m_endingDialog = true;
  MessageBoxA(m_hWnd, kSaveFailed, AfxGetAppName(), MB_OK | MB_ICONWARNING);
  if (!alive.expired()) m_endingDialog = false;
  return 0;
}
