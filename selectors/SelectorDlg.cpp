#include "selectors/SelectorDlg.h"

#include "ocx/fileview/FileViewEvents.h"

void CSelectorDlg::OnOK() {
  CDHtmlDialog::OnOK();
  DestroyIfUntracked();
}

void CSelectorDlg::OnCancel() {
  CDHtmlDialog::OnCancel();
  DestroyIfUntracked();
}

void CSelectorDlg::Untrack() {
  m_slot = nullptr;
  m_untracked = true;
  if (m_hWnd && !IsWindowVisible()) DestroyWindow();
}

void CSelectorDlg::DestroyIfUntracked() {
  if (m_untracked && m_hWnd) DestroyWindow();
}

void CSelectorDlg::PostNcDestroy() {
  if (m_slot && *m_slot == this) *m_slot = nullptr;
  if (m_slot || m_untracked) delete this;
}

void audio::DoDataExchange(CDataExchange* pDX) {
  CSelectorDlg::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SELECTOR_VIEW, m_fileView);
}

const EventSinkMap* audio::GetEventSinkMap() const {
  static const EventSinkEntry rows[] = {
      OnEvent<&audio::OnFolderShown>(IDC_SELECTOR_VIEW, CFileViewEvents::kFolderShown),
      OnEvent<&audio::OnItemOpened>(IDC_SELECTOR_VIEW, CFileViewEvents::kItemOpened),
  };
  static const EventSinkMap map{CSelectorDlg::GetEventSinkMap(), rows};
  return &map;
}

namespace {
template <class T> CDHtmlDialog* Make() { return new T; }
const DHtmlClassEntry kSelectorClasses[] = {
    {"vide", &Make<vide>},       {"audio", &Make<audio>},     {"office", &Make<office>}, {"web", &Make<web>},
    {"graphic", &Make<graphic>}, {"program", &Make<program>}, {"syst", &Make<syst>},     {"photo", &Make<photo>},
};
}  // namespace

CSelectorDlg* CreateSelector(const char* name) {
  return static_cast<CSelectorDlg*>(CreateDHtmlDialog(kSelectorClasses, name));
}
