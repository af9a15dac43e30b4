#include "ocx/playlist/PlaylistControl.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>

#include "framework/AtomicFile.h"
#include "framework/FileNames.h"
#include "ocx/playlist/PlaylistEncoding.h"
#include "ocx/playlist/PlaylistText.h"

namespace {
constexpr int kListId = 1;
constexpr LONGLONG kLargestPlaylist = 16 << 20;  // anything bigger is not a playlist

UINT DragListMessage() {
  static const UINT id = RegisterWindowMessageA(DRAGLISTMSGSTRING);
  return id;
}

bool IsUrl(const std::string& path) { return path.find("://") != std::string::npos; }

// Entries are kept in their 8-bit form (see FileNames.h), so the list saves as it shows.
std::string FullPath(const std::string& path) {
  if (path.empty() || IsUrl(path)) return path;
  wchar_t full[MAX_PATH];
  DWORD length = GetFullPathNameW(filenames::Wide(path).c_str(), MAX_PATH, full, nullptr);
  return length && length < MAX_PATH ? filenames::Narrow(full) : path;
}

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' || folder.back() == '/' ? folder + name : folder + "\\" + name;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool ReadPlaylistFile(const std::string& path, std::string* text) {
  FileHandle file(CreateFileW(filenames::OnDisk(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestPlaylist) return false;
  text->assign(size_t(size.QuadPart), '\0');
  DWORD read = 0;
  return text->empty() ||
         (ReadFile(file.Get(), &(*text)[0], DWORD(text->size()), &read, nullptr) && read == text->size());
}

class DropScope {
 public:
  explicit DropScope(HDROP drop) : m_drop(drop) {}
  ~DropScope() { DragFinish(m_drop); }
  DropScope(const DropScope&) = delete;
  DropScope& operator=(const DropScope&) = delete;

 private:
  HDROP m_drop;
};
}  // namespace

const MethodMap& CPlaylistControl::GetMethodMap() const {
  static const MethodEntry entries[] = {
      Method<&CPlaylistControl::AddFolderFiles>(playlistcontract::kAddFolderFiles),
      Method<&CPlaylistControl::SetBackColorRgb>(playlistcontract::kSetBackColorRgb),
      Method<&CPlaylistControl::SetForeColorRgb>(playlistcontract::kSetForeColorRgb),
      Method<&CPlaylistControl::SetBackColorRgb2>(playlistcontract::kSetBackColorRgb2),
      Method<&CPlaylistControl::ClearList>(playlistcontract::kClearList),
      Method<&CPlaylistControl::SaveList>(playlistcontract::kSaveList),
      Method<&CPlaylistControl::LoadList>(playlistcontract::kLoadList),
  };
  static const MethodMap map(entries);
  return map;
}

const MessageMap* CPlaylistControl::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_SIZE>(&CPlaylistControl::OnSize),
      OnMessage<WM_SETFOCUS>(&CPlaylistControl::OnSetFocus),
      OnMessage<WM_MEASUREITEM>(&CPlaylistControl::OnMeasureItem),
      OnMessage<WM_DRAWITEM>(&CPlaylistControl::OnDrawItem),
      OnMessage<WM_CTLCOLORLISTBOX>(&CPlaylistControl::OnControlColour),
      OnMessage<WM_VKEYTOITEM>(&CPlaylistControl::OnKeyToItem),
      OnMessage<WM_DROPFILES>(&CPlaylistControl::OnDropFiles),
      OnMessage(DragListMessage(), &CPlaylistControl::OnDrag),
  };
  static const MessageMap map{CHostedControl::GetMessageMap(), entries};
  return &map;
}

void CPlaylistControl::OnCreateControl() {
  m_back = StoredColour("back", m_back);
  m_fore = StoredColour("fore", m_fore);
  m_back2 = StoredColour("back2", m_back);
  m_back2Set = !StoredValue("back2").IsEmpty();
  m_backBrush.Reset(CreateSolidBrush(m_back));
  RECT client;
  GetClientRect(&client);
  // The list box keeps no text: the entries live here, and it asks for each row it draws, so
  // a list of any length is filled and emptied at once.
  m_list = CreateWindowExA(0, "LISTBOX", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NODATA |
                               LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT,
                           0, 0, client.right, client.bottom, m_hWnd, reinterpret_cast<HMENU>(kListId),
                           GetModuleHandleA(nullptr), nullptr);
  ::SendMessageA(m_list, WM_SETFONT, WPARAM(ListFont()), FALSE);
  MakeDragList(m_list);
  DragAcceptFiles(m_hWnd, TRUE);
}

HFONT CPlaylistControl::ListFont() const {
  HFONT font = WindowFont(GetParent(m_hWnd));
  return font ? font : GetStockFont(DEFAULT_GUI_FONT);
}

short CPlaylistControl::AddFolderFiles(const CString& extension, const CString& folder) {
  m_extension = extension.GetString();
  int added = folder.IsEmpty() ? 0 : AddFilesOf(folder.GetString(), m_extension);
  return short(std::min(added, SHRT_MAX));
}

// The folder's own files (not those of its sub-folders) with the extension, in name order.
int CPlaylistControl::AddFilesOf(const std::string& folder, const std::string& extension) {
  std::string base = FullPath(folder);
  WIN32_FIND_DATAW found;
  FindHandle find(FindFirstFileW(filenames::Wide(Joined(base, "*")).c_str(), &found));
  if (!find) return 0;
  std::vector<std::string> names;
  do {
    std::string name = filenames::Narrow(found.cFileName);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && playlist::HasExtension(name, extension))
      names.push_back(std::move(name));
  } while (FindNextFileW(find.Get(), &found));
  std::sort(names.begin(), names.end(), playlist::NameLess);
  for (std::string& name : names) name = Joined(base, name);
  int added = int(names.size());
  Append(std::move(names));
  return added;
}

void CPlaylistControl::Append(std::vector<std::string> paths) {
  if (paths.empty()) return;
  m_entries.insert(m_entries.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
  ShowCount();
}

// The list box learns only how many rows there are; the selection stays where it was.
void CPlaylistControl::ShowCount() {
  LRESULT selected = ::SendMessageA(m_list, LB_GETCURSEL, 0, 0);
  ::SendMessageA(m_list, LB_SETCOUNT, WPARAM(m_entries.size()), 0);
  if (selected >= 0 && size_t(selected) < m_entries.size()) ::SendMessageA(m_list, LB_SETCURSEL, WPARAM(selected), 0);
  InvalidateRect(m_list, nullptr, TRUE);
}

void CPlaylistControl::SetBackColorRgb(short red, short green, short blue) {
  SetColour(&m_back, red, green, blue);
  if (!m_back2Set) m_back2 = m_back;  // one background until a second is given
  m_backBrush.Reset(CreateSolidBrush(m_back));
}

void CPlaylistControl::SetForeColorRgb(short red, short green, short blue) { SetColour(&m_fore, red, green, blue); }

void CPlaylistControl::SetBackColorRgb2(short red, short green, short blue) {
  SetColour(&m_back2, red, green, blue);
  m_back2Set = true;
}

void CPlaylistControl::SetColour(COLORREF* colour, short red, short green, short blue) {
  auto part = [](short value) { return BYTE(std::min(std::max<int>(value, 0), 255)); };
  *colour = RGB(part(red), part(green), part(blue));
  InvalidateRect(m_list, nullptr, TRUE);
}

void CPlaylistControl::ClearList() {
  m_entries.clear();
  ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
}

bool CPlaylistControl::SaveList(const CString& path) {
  CAtomicFile file;
  return file.Begin(path) && file.Write(playlist::FormatEntries(m_entries)) && file.Commit();
}

bool CPlaylistControl::LoadList(const CString& path) {
  std::string source = FullPath(path.IsEmpty() ? AskForPlaylist() : std::string(path.GetString()));
  std::string text;
  if (source.empty() || !ReadPlaylistFile(source, &text)) return false;
  std::vector<std::string> entries = playlist::ParseEntries(playlist::DecodeListText(text), FolderOf(source));
  for (std::string& entry : entries)  // most need no tidying, and the call costs more than the rest
    if (!playlist::IsPlainFullPath(entry)) entry = FullPath(entry);
  ClearList();
  Append(std::move(entries));
  return true;
}

std::string CPlaylistControl::AskForPlaylist() const {
  wchar_t file[MAX_PATH] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetAncestor(m_hWnd, GA_ROOT);
  dialog.lpstrFilter = L"Playlists (*.m3u;*.m3u8)\0*.m3u;*.m3u8\0All Files (*.*)\0*.*\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = L"C:\\tyb";
  dialog.lpstrTitle = L"Load Playlist";
  dialog.lpstrDefExt = L"m3u";
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return GetOpenFileNameW(&dialog) ? filenames::Narrow(file) : std::string();
}

void CPlaylistControl::MoveItem(int from, int to) {
  if (from < 0 || to < 0 || size_t(from) >= m_entries.size() || size_t(to) >= m_entries.size()) return;
  auto first = m_entries.begin();
  if (from < to) std::rotate(first + from, first + from + 1, first + to + 1);
  else std::rotate(first + to, first + from, first + from + 1);
  ::SendMessageA(m_list, LB_SETCURSEL, WPARAM(to), 0);
  InvalidateRect(m_list, nullptr, TRUE);
}

void CPlaylistControl::OnSize(UINT, int width, int height) {
  if (m_list) ::MoveWindow(m_list, 0, 0, width, height, TRUE);
}

// Tabbing to the control puts the keyboard in its list, where Delete and the arrows work.
void CPlaylistControl::OnSetFocus() { ::SetFocus(m_list); }

BOOL CPlaylistControl::OnMeasureItem(UINT, MEASUREITEMSTRUCT* item) {
  WindowDc screen(nullptr);
  SelectObjectScope font(screen.Get(), ListFont());
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  item->itemHeight = UINT(metrics.tmHeight + 2);
  return TRUE;
}

// Rows alternate between the two backgrounds; the selected row swaps text and background.
BOOL CPlaylistControl::OnDrawItem(UINT, const DRAWITEMSTRUCT* item) {
  if (item->itemID == UINT(-1)) return TRUE;
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  COLORREF back = selected ? m_fore : RowColour(int(item->itemID));
  BrushHandle brush(CreateSolidBrush(back));
  FillRect(item->hDC, &item->rcItem, brush.Get());
  DcStateScope state(item->hDC);
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, selected ? RowColour(int(item->itemID)) : m_fore);
  std::wstring name = item->itemID < m_entries.size() ? playlist::ShownName(m_entries[item->itemID]) : std::wstring();
  RECT text = item->rcItem;
  text.left += 3;
  DrawTextW(item->hDC, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  return TRUE;
}

LRESULT CPlaylistControl::OnControlColour() { return reinterpret_cast<LRESULT>(m_backBrush.Get()); }

int CPlaylistControl::OnKeyToItem(UINT key, int, HWND) {
  if (key != VK_DELETE) return -1;  // the list box's own handling
  int selected = int(::SendMessageA(m_list, LB_GETCURSEL, 0, 0));
  if (selected < 0 || size_t(selected) >= m_entries.size()) return -2;
  m_entries.erase(m_entries.begin() + selected);
  ::SendMessageA(m_list, LB_DELETESTRING, WPARAM(selected), 0);
  int count = int(m_entries.size());
  if (count > 0) ::SendMessageA(m_list, LB_SETCURSEL, WPARAM(std::min(selected, count - 1)), 0);
  return -2;
}

// Dragging moves the entry along with the pointer, so the list always shows the new order.
LRESULT CPlaylistControl::OnDrag(WPARAM, LPARAM lParam) {
  const auto* drag = reinterpret_cast<const DRAGLISTINFO*>(lParam);
  int item = LBItemFromPt(drag->hWnd, drag->ptCursor, drag->uNotification == DL_DRAGGING);
  switch (drag->uNotification) {
    case DL_BEGINDRAG:
      m_dragging = item;
      return item >= 0;
    case DL_DRAGGING:
      if (m_dragging >= 0 && item >= 0 && item != m_dragging) {
        MoveItem(m_dragging, item);
        m_dragging = item;
      }
      return m_dragging >= 0 ? DL_MOVECURSOR : DL_STOPCURSOR;
    default:
      m_dragging = -1;
      return 0;
  }
}

void CPlaylistControl::OnDropFiles(HDROP drop) {
  DropScope finish(drop);
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    wchar_t dropped[MAX_PATH];
    if (!DragQueryFileW(drop, i, dropped, MAX_PATH)) continue;
    std::string path = filenames::Narrow(dropped);
    DWORD attributes = GetFileAttributesW(dropped);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) AddFilesOf(path, m_extension);
    else if (playlist::HasExtension(path, m_extension)) Append({FullPath(path)});
  }
}
