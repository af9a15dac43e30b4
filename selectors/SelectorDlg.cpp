#include "selectors/SelectorDlg.h"

#include "ocx/fileview/FileViewEvents.h"
#include "res/resource.h"

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

// The resource scripts name these ids by macro; they must be the table's.
namespace {
constexpr bool HasIds(std::string_view className, unsigned button, unsigned templateId, unsigned pageId) {
  const CategoryRow& row = kCategories[CategoryOf(className)];
  return row.button == button && row.templateId == templateId && row.pageId == pageId;
}
static_assert(HasIds("vide", IDC_VIDEO, IDD_SELECTOR_VIDEO, IDR_PAGE_VIDEO));
static_assert(HasIds("audio", IDC_AUDIO, IDD_SELECTOR_AUDIO, IDR_PAGE_AUDIO));
static_assert(HasIds("office", IDC_OFFICE, IDD_SELECTOR_OFFICE, IDR_PAGE_OFFICE));
static_assert(HasIds("web", IDC_INTERNET, IDD_SELECTOR_INTERNET, IDR_PAGE_INTERNET));
static_assert(HasIds("graphic", IDC_GRAPHIC, IDD_SELECTOR_GRAPHIC, IDR_PAGE_GRAPHIC));
static_assert(HasIds("program", IDC_PROGRAM, IDD_SELECTOR_PROGRAM, IDR_PAGE_PROGRAM));
static_assert(HasIds("syst", IDC_SYSTEM, IDD_SELECTOR_SYSTEM, IDR_PAGE_SYSTEM));
static_assert(HasIds("photo", IDC_PHOTOS, IDD_SELECTOR_PHOTO, IDR_PAGE_PHOTO));
}  // namespace
