#include "settings/OptionsDlg.h"

#include <olectl.h>
#include <shellapi.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "framework/Trace.h"
#include "ocx/fileview/FileViewEvents.h"
#include "res/resource.h"
#include "settings/Settings.h"

namespace {
// The edit's text as a signed whole number, as Windows' GetDlgItemInt reads it: blanks
// around it are allowed, anything else ("12a") gives 0, as does a number out of range. Wine's
// GetDlgItemInt reads "12a" as 12, so the program does not leave this to the system.
int WholeNumberOrZero(const char* text) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) return 0;
  while (*end == ' ' || *end == '\t') ++end;
  return *end ? 0 : int(value);
}
}  // namespace

options::options(CWnd* parent) : CDHtmlDialog(IDD_OPTIONS, IDR_PAGE_OPTIONS, parent) {}

const EventSinkMap* options::GetEventSinkMap() const {
  static const EventSinkEntry rows[] = {
      OnEvent<&options::OnBack>(IDC_OPTIONS_BACK, DISPID_CLICK),
      OnEvent<&options::OnCloseOptions>(IDC_OPTIONS_CLOSE, DISPID_CLICK),
      OnEvent<&options::OnAbout>(IDC_OPTIONS_ABOUT, DISPID_CLICK),
      OnEvent<&options::OnBeforeTransfer>(IDC_OPTIONS_VIEW, CFileViewEvents::kBeforeTransfer),
      OnEvent<&options::OnDrop>(IDC_OPTIONS_VIEW, CFileViewEvents::kDrop),
      OnEvent<&options::OnDragOver>(IDC_OPTIONS_VIEW, CFileViewEvents::kDragOver),
  };
  static const EventSinkMap map{CDHtmlDialog::GetEventSinkMap(), rows};
  return &map;
}

// The page's Cancel ends the window, though Escape does not.
const HtmlEventMap* options::GetHtmlEventMap() const {
  static const HtmlEventEntry rows[] = {OnHtmlClick("ButtonCancel", &options::OnPageCancel)};
  static const HtmlEventMap map{CDHtmlDialog::GetHtmlEventMap(), rows};
  return &map;
}

HRESULT options::OnPageCancel(CHtmlElement*) {
  CDHtmlDialog::OnCancel();
  return S_OK;
}

void options::DoDataExchange(CDataExchange* pDX) {
  CDHtmlDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_LOAD_STARTUP, m_loadStartupCheck);
  DDX_Control(pDX, IDC_SELTIME, m_selTimeEdit);
  DDX_Control(pDX, IDC_OPTIONS_VIEW, m_fileView);
}

// A box is checked only for a stored 1; boxes start unchecked and absent values leave them so.
// An absent seltime shows the lifetime the bar uses for it, so Close without typing keeps it.
BOOL options::OnInitDialog() {
  CDHtmlDialog::OnInitDialog();
  using namespace settings;
  CRegistryStore store(0);
  OpenUserSettings(store);
  const struct {
    const char* name;
    int box;
  } flags[] = {{kLoadStartup, IDC_LOAD_STARTUP},
               {kLoadBottom, IDC_LOAD_BOTTOM},
               {kHideCpu, IDC_HIDE_CPU},
               {kHideMp3, IDC_HIDE_MP3}};
  for (const auto& flag : flags)
    if (IsOn(Read(store, flag.name, kAbsentFlag))) CheckDlgButton(m_hWnd, flag.box, BST_CHECKED);
  SetDlgItemInt(m_hWnd, IDC_SELTIME, UINT(Read(store, kSelTime, kAbsentSelTime)), TRUE);
  return TRUE;
}

void options::OnBack() { m_fileView.GoBack(); }

// Writes every setting of the window in a fixed order; the second seltime write, 0 for
// anything that is not a whole number, stays.
void options::OnCloseOptions() {
  using namespace settings;
  CRegistryStore store(0);
  OpenUserSettings(store);
  TRACE_IF_FALSE(Write(store, kSelTime, std::atoi(m_selTimeEdit.GetWindowText())));
  TRACE_IF_FALSE(Write(store, kLoadBottom, IsChecked(IDC_LOAD_BOTTOM) ? 1 : 0));
  TRACE_IF_FALSE(Write(store, kLoadStartup, IsChecked(IDC_LOAD_STARTUP) ? 1 : 0));
  TRACE_IF_FALSE(Write(store, kHideCpu, IsChecked(IDC_HIDE_CPU) ? 1 : 0));
  TRACE_IF_FALSE(Write(store, kHideMp3, IsChecked(IDC_HIDE_MP3) ? 1 : 0));
  TRACE_IF_FALSE(Write(store, kSelTime, WholeNumberOrZero(m_selTimeEdit.GetWindowText())));
  EndDialog(IDOK);
}

void options::OnAbout() { TRACE_IF_NOT_STARTED(ShellExecuteA(m_hWnd, "open", "aboutTYB.exe", "", "", SW_SHOW)); }
