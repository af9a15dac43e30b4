#include "media/PlaylistDlg.h"

#include <objbase.h>
#include <olectl.h>
#include <shlobj.h>

#include "framework/FileNames.h"
#include "framework/Handles.h"
#include "media/PlaylistFile.h"
#include "res/resource.h"

namespace {
constexpr char kExtension[] = ".mp3";

// An item list the shell handed out, given back to the shell's allocator.
class ShellItemList {
 public:
  ShellItemList(IMalloc* allocator, LPITEMIDLIST items) : m_allocator(allocator), m_items(items) {}
  ~ShellItemList() {
    if (m_items && m_allocator) m_allocator->Free(m_items);
  }
  ShellItemList(const ShellItemList&) = delete;
  ShellItemList& operator=(const ShellItemList&) = delete;
  LPITEMIDLIST Get() const { return m_items; }

 private:
  IMalloc* m_allocator;
  LPITEMIDLIST m_items;
};

// The folder field holds code-page text: a folder the code page cannot name goes in by its
// short name, which it can, or failing that in UTF-8, which the list reads as well.
std::string FieldText(const wchar_t* folder) {
  std::string narrow = filenames::Narrow(folder);
  if (filenames::FromCodePage(narrow) == folder) return narrow;
  wchar_t brief[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(folder, brief, MAX_PATH);
  return length && length < MAX_PATH ? filenames::Narrow(brief) : narrow;
}
}  // namespace

CPlaylistDlg::CPlaylistDlg(CWnd* parent) : CDHtmlDialog(IDD_PLAYLIST, IDR_PAGE_PLAYLIST, parent) {}

const EventSinkMap* CPlaylistDlg::GetEventSinkMap() const {
  static const EventSinkEntry rows[] = {
      OnEvent<&CPlaylistDlg::OnSearch>(IDC_PLAYLIST_SEARCH, DISPID_CLICK),
      OnEvent<&CPlaylistDlg::OnBrowse>(IDC_PLAYLIST_BROWSE, DISPID_CLICK),
      OnEvent<&CPlaylistDlg::OnClear>(IDC_PLAYLIST_CLEAR, DISPID_CLICK),
      OnEvent<&CPlaylistDlg::OnLoad>(IDC_PLAYLIST_LOAD, DISPID_CLICK),
      OnEvent<&CPlaylistDlg::OnSave>(IDC_PLAYLIST_SAVE, DISPID_CLICK),
      OnEvent<&CPlaylistDlg::OnCloseEditor>(IDC_PLAYLIST_CLOSE, DISPID_CLICK),
  };
  static const EventSinkMap map{CDHtmlDialog::GetEventSinkMap(), rows};
  return &map;
}

void CPlaylistDlg::DoDataExchange(CDataExchange* pDX) {
  CDHtmlDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PLAYLIST_LIST, m_playlist);
  DDX_Control(pDX, IDC_PLAYLIST_FOLDER, m_folderEdit);
}

// The list takes the bar's display colours. It starts empty: only Load reads a list in.
BOOL CPlaylistDlg::OnInitDialog() {
  CDHtmlDialog::OnInitDialog();
  m_playlist.SetBackColorRgb(1, 0, 0);
  m_playlist.SetForeColorRgb(44, 255, 9);
  m_playlist.SetBackColorRgb2(1, 0, 0);
  return TRUE;
}

// The folder text goes to the control as typed; a wrong one simply adds nothing.
void CPlaylistDlg::OnSearch() { m_playlist.AddFolderFiles(kExtension, m_folderEdit.GetWindowText()); }

// A chosen folder replaces the typed one; one without a file-system path leaves the text, and
// the search goes ahead with whatever the field holds. A cancel does nothing at all.
void CPlaylistDlg::OnBrowse() {
  if (ChooseFolder()) OnSearch();
}

bool CPlaylistDlg::ChooseFolder() {
  ComPtr<IMalloc> allocator;
  if (FAILED(SHGetMalloc(allocator.Receive()))) return false;
  ComScope com;
  wchar_t path[MAX_PATH] = {};
  BROWSEINFOW browse{};
  browse.hwndOwner = m_hWnd;
  browse.pszDisplayName = path;
  browse.lpszTitle = L"Please choose the folder";
  ShellItemList chosen(allocator.Get(), SHBrowseForFolderW(&browse));
  if (!chosen.Get()) return false;
  if (SHGetPathFromIDListW(chosen.Get(), path)) m_folderEdit.SetWindowText(FieldText(path).c_str());
  return true;
}

void CPlaylistDlg::OnClear() { m_playlist.ClearList(); }

// With no path the control asks the user which list to load.
void CPlaylistDlg::OnLoad() { m_playlist.LoadList(""); }

void CPlaylistDlg::OnSave() { m_playlist.SaveList(playlist::kPath); }

void CPlaylistDlg::OnCloseEditor() { EndDialog(0); }
