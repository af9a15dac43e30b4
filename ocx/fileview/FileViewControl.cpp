#include "ocx/fileview/FileViewControl.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <set>
#include <string>

#include "fileops/FileOpsEngine.h"
#include "framework/Exceptions.h"
#include "framework/PrivateMessages.h"
#include "framework/Trace.h"
#include "ocx/fileview/DropSource.h"
#include "ocx/fileview/FileClipboard.h"
#include "ocx/fileview/FileDataObject.h"
#include "ocx/fileview/FileDropList.h"
#include "ocx/fileview/FileTransfer.h"
#include "ocx/fileview/FileViewContract.h"
#include "ocx/fileview/IconWarmUp.h"
#include "ocx/fileview/InfoTip.h"
#include "ocx/fileview/ShellDelete.h"
#include "ocx/fileview/ShellMenu.h"
#include "ocx/fileview/WideText.h"

namespace {
const UINT_PTR kWatchTimer = 1;
const UINT kWatchMs = 500;
const UINT_PTR kIconTimer = 2;
const DWORD kIconSliceMs = 15;
// One timer tick fetches icons in slices for up to this long, unless input comes: the ticks
// themselves are at least 10 ms apart, and waiting for each one after a single slice left
// the first screen's own icons half a second late in a folder of programs.
const DWORD kIconTickMs = 25;
const wchar_t kCaption[] = L"Tidybar";
const wchar_t kBadNameCharacters[] = L"\\/:*?\"<>|";

// The view a drag in this program started from, while the drag is under way.
CFileViewControl* g_dragSource = nullptr;

bool IsDown(int key) { return GetKeyState(key) < 0; }

bool IsFolderPath(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "C:\" for "c:\a\b", "\\server\share\" for a network path.
std::wstring VolumeOf(const std::wstring& path) {
  wchar_t root[MAX_PATH];
  if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return std::wstring();
  return widetext::UpperKey(root);
}

std::wstring Wide(const CString& text) { return widetext::FromAnsi(text); }

// Without the spaces around it and the dots at its end, which the file system drops anyway.
std::wstring Trimmed(const std::wstring& name) {
  size_t first = name.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::wstring();
  size_t last = name.find_last_not_of(L" \t.");
  return last == std::wstring::npos || last < first ? std::wstring() : name.substr(first, last - first + 1);
}

// Renames through the file operations engine, or directly where the code page cannot hold
// a name; returns what went wrong, or nothing.
std::wstring RenameFile(const std::wstring& from, const std::wstring& to) {
  bool lossyFrom = false, lossyTo = false;
  CString ansiFrom = widetext::ToAnsi(from, &lossyFrom), ansiTo = widetext::ToAnsi(to, &lossyTo);
  if (!lossyFrom && !lossyTo) {
    CFileOpsEngine engine;
    return engine.Rename(ansiFrom, ansiTo) ? std::wstring() : Wide(engine.GetErrorText());
  }
  if (MoveFileExW(from.c_str(), to.c_str(), 0)) return std::wstring();
  return Wide(SystemErrorText(GetLastError()));
}
}  // namespace

void CFileViewControl::Register() { RegisterControlClass<CFileViewControl>(CLSID_CLASS_FILE_VIEW); }

const MethodMap& CFileViewControl::GetMethodMap() const {
  static const MethodEntry entries[] = {Method<&CFileViewControl::GoBack>(fileviewcontract::kGoBack)};
  static const MethodMap map(entries);
  return map;
}

const MessageMap* CFileViewControl::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_SIZE>(&CFileViewControl::OnSize),
      OnMessage<WM_PAINT>(&CFileViewControl::OnPaint),
      OnMessage<WM_SETFOCUS>(&CFileViewControl::OnSetFocus),
      OnMessage<WM_TIMER>(&CFileViewControl::OnTimer),
      OnMessage<WM_DESTROY>(&CFileViewControl::OnDestroy),
      OnMessage(kFirstShownMessage, &CFileViewControl::OnFirstShown),
      OnMessage(kLaterErrorMessage, &CFileViewControl::OnLaterError),
      OnMessage(kTakeDropsMessage, &CFileViewControl::OnTakeDrops),
      OnMessage(WM_NOTIFYFORMAT, &CFileViewControl::OnNotifyFormat),
      OnMessage(WM_CONTEXTMENU, &CFileViewControl::OnContextMenu),
      OnMessage(WM_INITMENUPOPUP, &CFileViewControl::OnMenuMessage<WM_INITMENUPOPUP>),
      OnMessage(WM_DRAWITEM, &CFileViewControl::OnMenuMessage<WM_DRAWITEM>),
      OnMessage(WM_MEASUREITEM, &CFileViewControl::OnMenuMessage<WM_MEASUREITEM>),
      OnMessage(WM_MENUCHAR, &CFileViewControl::OnMenuMessage<WM_MENUCHAR>),
      OnNotify(kListId, LVN_GETDISPINFOW, &CFileViewControl::OnGetDispInfo),
      OnNotify(kListId, NM_CUSTOMDRAW, &CFileViewControl::OnCustomDraw),
      OnNotify(kListId, LVN_ODFINDITEMW, &CFileViewControl::OnFindItem),
      OnNotify(kAnyCode, TTN_GETDISPINFOW, &CFileViewControl::OnTipText),
      OnNotify(kListId, NM_DBLCLK, &CFileViewControl::OnDoubleClick),
      OnNotify(kListId, LVN_KEYDOWN, &CFileViewControl::OnKeyDown),
      OnNotify(kListId, LVN_BEGINDRAG, &CFileViewControl::OnBeginDrag),
      OnNotify(kListId, LVN_BEGINRDRAG, &CFileViewControl::OnBeginRightDrag),
      OnNotify(kListId, LVN_BEGINLABELEDITW, &CFileViewControl::OnBeginLabelEdit),
      OnNotify(kListId, LVN_ENDLABELEDITW, &CFileViewControl::OnEndLabelEdit),
  };
  static const MessageMap map{CHostedControl::GetMessageMap(), entries};
  return &map;
}

void CFileViewControl::OnCreateControl() {
  iconwarmup::StandAside();
  WindowDc screen(nullptr);
  int height = -MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
  m_font.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, StoredValue("font", "Tahoma")));
  RECT client;
  GetClientRect(&client);
  // A wide list view, so that every name shows and can be typed as it is.
  m_list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_OWNERDATA | LVS_EDITLABELS |
                               LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE,
                           0, 0, client.right, client.bottom, m_hWnd, reinterpret_cast<HMENU>(kListId),
                           GetModuleHandleW(nullptr), nullptr);
  if (!m_list) return;
  ::SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
  ListView_SetImageList(m_list, m_icons.ImageList(), LVSIL_NORMAL);
  ListView_SetCallbackMask(m_list, LVIS_DROPHILITED);
  m_dropTarget = ComPtr<CFileDropTarget>(new CFileDropTarget(m_list, this), false);
  m_filter = StoredValue("filter", "*.*");
  ShowFolder(Wide(StoredValue("root")));
  trace::Step("click", "file view made, its folder listed");
  TRACE_IF_FALSE(SetTimer(kWatchTimer, kWatchMs));
  // The container is still being built: it hears of the first folder once it is up.
  PostMessage(kFirstShownMessage);
}

bool CFileViewControl::OnDestroy() {
  if (m_dropRegistered) TRACE_IF_FAILED(RevokeDragDrop(m_list));
  if (m_dropTarget) m_dropTarget->Detach();
  m_watcher.Stop();
  return false;
}

// The list view's notifications come in wide text.
LRESULT CFileViewControl::OnNotifyFormat(WPARAM, LPARAM) { return NFR_UNICODE; }

LRESULT CFileViewControl::OnFirstShown(WPARAM, LPARAM) {
  RaiseFolderShown();
  return 0;
}

void CFileViewControl::RaiseFolderShown() {
  m_events.FolderShown(m_listing.GetStatus() == CFolderListing::Status::kListed ? long(m_listing.Items().size()) : -1,
                       long(m_history.size()));
}

// ---- Showing a folder ----

void CFileViewControl::ShowFolder(const std::wstring& folder) {
  ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_listing.Read(folder.empty() ? folder : FullPath(folder), m_filter);
  m_icons.Reset(m_listing.Items());
  ListView_SetItemCountEx(m_list, int(m_listing.Items().size()), 0);
  ListView_EnsureVisible(m_list, 0, FALSE);
  ShowProblem();
  if (m_listing.GetStatus() == CFolderListing::Status::kListed) m_watcher.Watch(m_listing.Folder());
  else m_watcher.Stop();
  KeepIconsComing();
}

// Without items the view shows why in its own window; the list view steps aside.
void CFileViewControl::ShowProblem() {
  bool listed = m_listing.GetStatus() == CFolderListing::Status::kListed;
  ::ShowWindow(m_list, listed ? SW_SHOWNA : SW_HIDE);
  Invalidate();
}

void CFileViewControl::Reload() {
  if (!ListView_GetEditControl(m_list)) Refresh();  // else a rename is being typed: the timer comes back
}

void CFileViewControl::Refresh() {
  std::vector<std::wstring> selected = SelectedPaths();
  int focused = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED);
  std::wstring focusedPath = focused >= 0 && size_t(focused) < m_listing.Items().size()
                                 ? m_listing.PathOf(m_listing.Items()[size_t(focused)])
                                 : std::wstring();
  ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_listing.Read(m_listing.WideFolder(), m_filter);
  m_icons.Reset(m_listing.Items());
  int count = int(m_listing.Items().size());
  bool grew = count > ListView_GetItemCount(m_list);
  ListView_SetItemCountEx(m_list, count, LVSICF_NOSCROLL);
  // Items that come while the view is shown get no places of their own from the list view:
  // they would all stand on the first one. Laid out again, each has its own.
  if (grew) ListView_Arrange(m_list, LVA_DEFAULT);
  SelectPaths(selected);
  int refocus = focusedPath.empty() ? -1 : m_listing.Find(focusedPath);
  if (refocus >= 0) ListView_SetItemState(m_list, refocus, LVIS_FOCUSED, LVIS_FOCUSED);
  InvalidateRect(m_list, nullptr, TRUE);
  ShowProblem();
  if (m_listing.GetStatus() != CFolderListing::Status::kListed) m_watcher.Stop();
  else if (!m_watcher.IsWatching()) m_watcher.Watch(m_listing.Folder());
  KeepIconsComing();
}

void CFileViewControl::GoBack() {
  if (m_history.empty()) return;
  std::wstring previous = m_history.back();
  m_history.pop_back();
  ShowFolder(previous);
  RaiseFolderShown();
}

void CFileViewControl::OpenItem(int index) {
  if (index < 0 || size_t(index) >= m_listing.Items().size()) return;
  FileItem item = m_listing.Items()[size_t(index)];
  std::wstring path = m_listing.PathOf(item);
  if (item.isFolder) {
    m_history.push_back(m_listing.WideFolder());
    ShowFolder(path);
    RaiseFolderShown();
    m_events.ItemOpened(true);
    return;
  }
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(m_hWnd, nullptr, path.c_str(), nullptr, m_listing.WideFolder().c_str(), SW_SHOWNORMAL));
  if (result <= 32) {
    ShowError(item.label + L" cannot be opened: " +
              Wide(SystemErrorText(result == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : DWORD(result))));
    return;
  }
  m_events.ItemOpened(false);
}

// ---- Selection ----

std::vector<int> CFileViewControl::SelectedIndices() const {
  std::vector<int> indices;
  for (int i = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(m_list, i, LVNI_SELECTED)) {
    if (size_t(i) < m_listing.Items().size()) indices.push_back(i);
  }
  return indices;
}

std::vector<std::wstring> CFileViewControl::SelectedPaths() const {
  std::vector<std::wstring> paths;
  for (int i : SelectedIndices()) paths.push_back(m_listing.PathOf(m_listing.Items()[size_t(i)]));
  return paths;
}

void CFileViewControl::SelectAll() { ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED); }

void CFileViewControl::SelectPaths(const std::vector<std::wstring>& paths) {
  std::set<std::wstring> wanted;
  for (const std::wstring& path : paths) wanted.insert(widetext::UpperKey(path));
  const std::vector<FileItem>& items = m_listing.Items();
  for (size_t i = 0; i < items.size() && !wanted.empty(); ++i)
    if (wanted.erase(widetext::UpperKey(m_listing.PathOf(items[i]))))
      ListView_SetItemState(m_list, int(i), LVIS_SELECTED, LVIS_SELECTED);
}

// ---- Clipboard, delete, rename ----

void CFileViewControl::CopySelection(DWORD effect) {
  std::vector<std::wstring> paths = SelectedPaths();
  if (!paths.empty() && !fileclipboard::Put(m_hWnd, paths, effect)) ShowError(L"The clipboard cannot be opened.");
}

void CFileViewControl::Paste() {
  DWORD effect = DROPEFFECT_COPY;
  std::vector<std::wstring> files = fileclipboard::Get(m_hWnd, &effect);
  if (files.empty() || m_listing.GetStatus() != CFolderListing::Status::kListed) return;
  DWORD done = Transfer(files, m_listing.WideFolder(), effect);
  if (done == DROPEFFECT_MOVE) fileclipboard::Clear(m_hWnd);  // the cut files are no longer there
}

// Copies or moves after the container's say; returns the effect carried out, or none when
// something failed or nothing needed doing.
DWORD CFileViewControl::Transfer(const std::vector<std::wstring>& files, const std::wstring& folder, DWORD effect) {
  ComPtr<IDispatch> self(this, true);  // the container may close the window from its handler
  if (!m_events.BeforeTransfer(&effect, long(files.size())) || !m_hWnd) return DROPEFFECT_NONE;
  if (effect != DROPEFFECT_COPY && effect != DROPEFFECT_MOVE) return DROPEFFECT_NONE;
  CFileTransfer transfer;
  bool ok = transfer.Run(files, folder, effect);
  Reload();
  if (!ok) ShowError(Wide(transfer.GetErrorText()));
  return ok && transfer.GetDone() > 0 ? effect : DROPEFFECT_NONE;
}

// Delete sends the items to the Recycle Bin after the shell's own question; Shift+Delete
// asks once here and deletes them for good.
void CFileViewControl::DeleteSelection(bool forGood) {
  std::vector<int> indices = SelectedIndices();
  if (indices.empty()) return;
  if (forGood && !AskDeleteForGood(indices)) return;
  ComPtr<IDispatch> self(this, true);  // the shell's questions let other messages in
  shelldelete::Outcome outcome = shelldelete::Delete(
      m_hWnd, SelectedPaths(), forGood ? shelldelete::Mode::kForGood : shelldelete::Mode::kRecycle,
      !forGood && m_shellAsksBeforeRecycling);
  if (!m_hWnd) return;
  Reload();
  if (outcome.error && !outcome.aborted) ShowError(L"Not everything could be deleted.");
}

bool CFileViewControl::AskDeleteForGood(const std::vector<int>& indices) const {
  std::wstring question = indices.size() == 1
                              ? L"Delete \"" + m_listing.Items()[size_t(indices[0])].label + L"\" for good?"
                              : L"Delete these " + std::to_wstring(indices.size()) + L" items for good?";
  return MessageBoxW(m_hWnd, question.c_str(), L"Delete", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CFileViewControl::RenameSelection() {
  int index = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED | LVNI_SELECTED);
  if (index < 0) index = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
  if (index < 0) return;
  ::SetFocus(m_list);
  SendMessageW(m_list, LVM_EDITLABELW, WPARAM(index), 0);  // a wide edit, for names in any script
}

void CFileViewControl::ShowError(const std::wstring& text) const {
  MessageBoxW(m_hWnd, text.c_str(), kCaption, MB_OK | MB_ICONWARNING);
}

// While the list view ends a label edit, a message box would take the focus from the edit
// and have it end again; the box waits until the edit is gone.
void CFileViewControl::ShowErrorLater(const std::wstring& text) {
  m_laterError = text;
  PostMessage(kLaterErrorMessage);
}

LRESULT CFileViewControl::OnLaterError(WPARAM, LPARAM) {
  std::wstring text;
  text.swap(m_laterError);
  if (!text.empty()) ShowError(text);
  return 0;
}

// ---- The shell's context menu ----

// A right click that started no drag, Shift+F10 or the menu key: the menu of the items
// under the mouse (or selected), or of the folder where no item is.
LRESULT CFileViewControl::OnContextMenu(WPARAM, LPARAM lParam) {
  if (m_listing.GetStatus() != CFolderListing::Status::kListed) return 0;
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  bool byKeyboard = screen.x == -1 && screen.y == -1;
  bool forItems;
  if (byKeyboard) {
    forItems = !SelectedIndices().empty();
    int focused = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED | LVNI_SELECTED);
    RECT box{4, 4, 4, 4};
    if (forItems && focused >= 0) ListView_GetItemRect(m_list, focused, &box, LVIR_ICON);
    screen = POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ::ClientToScreen(m_list, &screen);
  } else {
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ::ScreenToClient(m_list, &hit.pt);
    int index = ListView_HitTest(m_list, &hit);
    forItems = index >= 0 && (hit.flags & LVHT_ONITEM);
    if (forItems && !ListView_GetItemState(m_list, index, LVIS_SELECTED)) SelectIndices({index});
    if (!forItems) ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
  }
  ShowShellMenu(screen, forItems);
  return 0;
}

bool CFileViewControl::BuildMenu(CShellMenu* menu, bool forSelection) const {
  std::vector<std::wstring> names;
  if (forSelection)
    for (int i : SelectedIndices()) names.push_back(m_listing.Items()[size_t(i)].wideName);
  if (forSelection && names.empty()) return false;
  return menu->Build(m_hWnd, m_listing.WideFolder(), names, IsDown(VK_SHIFT));
}

void CFileViewControl::ShowShellMenu(POINT screen, bool forSelection) {
  CShellMenu menu;
  if (!BuildMenu(&menu, forSelection)) return;
  ComPtr<IDispatch> self(this, true);  // a verb may close the window under us
  m_openMenu = &menu;
  ::SetForegroundWindow(GetAncestor(m_hWnd, GA_ROOT));  // so that a click elsewhere closes the menu
  UINT command = UINT(TrackPopupMenu(menu.Menu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd,
                                     nullptr));
  m_openMenu = nullptr;
  if (command && m_hWnd) RunMenuCommand(menu, command, screen);
}

// Rename, Delete and Paste are the view's own, as their keys are; the rest are the shell's.
void CFileViewControl::RunMenuCommand(const CShellMenu& menu, UINT command, POINT screen) {
  std::wstring verb = menu.VerbOf(command);
  if (StrCmpIW(verb.c_str(), L"rename") == 0) RenameSelection();
  else if (StrCmpIW(verb.c_str(), L"delete") == 0) DeleteSelection(IsDown(VK_SHIFT));
  else if (StrCmpIW(verb.c_str(), L"paste") == 0) Paste();
  else if (menu.Invoke(m_hWnd, command, screen) && m_hWnd) Reload();
}

template <UINT Message> LRESULT CFileViewControl::OnMenuMessage(WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (m_openMenu) m_openMenu->HandleMessage(Message, wParam, lParam, &result);
  return result;
}

void CFileViewControl::SelectIndices(const std::vector<int>& indices) {
  ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int i : indices) ListView_SetItemState(m_list, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// ---- Window messages ----

void CFileViewControl::OnSize(UINT, int width, int height) {
  if (m_list) ::MoveWindow(m_list, 0, 0, width, height, TRUE);
  Invalidate();
}

LRESULT CFileViewControl::OnPaint() {
  PaintDc paint(m_hWnd);
  RECT client;
  GetClientRect(&client);
  FillRect(paint.Get(), &client, GetSysColorBrush(COLOR_WINDOW));
  CString problem = m_listing.GetProblemText();
  if (problem.IsEmpty()) return 0;
  SelectObjectScope font(paint.Get(), m_font.Get());
  SetBkMode(paint.Get(), TRANSPARENT);
  SetTextColor(paint.Get(), GetSysColor(COLOR_WINDOWTEXT));
  InflateRect(&client, -6, -6);
  RECT measured = client;
  DrawTextA(paint.Get(), problem, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  OffsetRect(&client, 0, std::max(0L, (client.bottom - client.top - (measured.bottom - measured.top)) / 2));
  DrawTextA(paint.Get(), problem, -1, &client, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
  return 0;
}

void CFileViewControl::OnSetFocus() {
  if (m_list && ::IsWindowVisible(m_list)) ::SetFocus(m_list);
}

void CFileViewControl::OnTimer(UINT_PTR id) {
  if (id == kIconTimer) {
    std::vector<int> changed;
    DWORD start = GetTickCount();
    for (DWORD spent = 0; m_icons.IsPending() && spent < kIconTickMs; spent = GetTickCount() - start) {
      m_icons.LoadSome(std::min(kIconSliceMs, kIconTickMs - spent), &changed);
      if (HIWORD(GetQueueStatus(QS_INPUT))) break;  // the user comes first
    }
    for (int index : changed) ListView_RedrawItems(m_list, index, index);
    if (!m_icons.IsPending()) {
      KillTimer(kIconTimer);
      trace::Step("click", "file view has every icon");
    }
  } else if (id == kWatchTimer) {
    if (!m_tip) MakeTip();  // made once the first screen is up, which it would only slow
    TakeDrops();
    FollowTip();
    // A folder that cannot be shown is looked for again, in case it comes back. One that is
    // shown may itself be renamed or deleted, which its own watch does not report.
    bool listed = m_listing.GetStatus() == CFolderListing::Status::kListed;
    bool there = IsFolderPath(m_listing.WideFolder());
    if (listed ? (m_watcher.HasChanged() || !there) : there) Reload();
  }
}

void CFileViewControl::KeepIconsComing() {
  if (m_icons.IsPending()) TRACE_IF_FALSE(SetTimer(kIconTimer, 1));
}

// ---- List view notifications ----

LRESULT CFileViewControl::OnGetDispInfo(NMLVDISPINFOW* info) {
  LVITEMW& item = info->item;
  if (item.iItem < 0 || size_t(item.iItem) >= m_listing.Items().size()) return 0;
  const FileItem& file = m_listing.Items()[size_t(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    lstrcpynW(item.pszText, file.label.c_str(), item.cchTextMax);
  if (item.mask & LVIF_IMAGE) item.iImage = m_icons.IconFor(item.iItem);
  if (item.mask & LVIF_STATE) item.state = item.iItem == m_dropItem ? LVIS_DROPHILITED : 0;
  return 0;
}

// The list draws itself; its first painting is only marked, and then the view takes drops.
LRESULT CFileViewControl::OnCustomDraw(const NMLVCUSTOMDRAW* draw) {
  if (m_firstPaintOver) return CDRF_DODEFAULT;
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYPOSTPAINT;
  if (draw->nmcd.dwDrawStage == CDDS_POSTPAINT) {
    m_firstPaintOver = true;
    trace::Step("click", "file view's first painting over");
    PostMessage(kTakeDropsMessage);
  }
  return CDRF_DODEFAULT;
}

// Registering the drop target costs about a tenth of the window's making: it waits until the
// view is on screen, where nothing can be dropped on it before (or, for a view that is never
// painted, its first watch tick).
LRESULT CFileViewControl::OnTakeDrops(WPARAM, LPARAM) {
  TakeDrops();
  return 0;
}

void CFileViewControl::TakeDrops() {
  if (m_dropRegistered || !m_list) return;
  m_dropRegistered = SUCCEEDED(TRACE_IF_FAILED(RegisterDragDrop(m_list, m_dropTarget.Get())));
}

// Typing a name's first letters moves to it.
LRESULT CFileViewControl::OnFindItem(const NMLVFINDITEMW* find) {
  if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
  std::wstring prefix = find->lvfi.psz;
  const std::vector<FileItem>& items = m_listing.Items();
  int count = int(items.size());
  for (int step = 0; step < count; ++step) {
    int i = (std::max(0, find->iStart) + step) % count;
    const std::wstring& label = items[size_t(i)].label;
    if (label.size() >= prefix.size() &&
        CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, label.c_str(), int(prefix.size()), prefix.c_str(),
                       int(prefix.size())) == CSTR_EQUAL)
      return i;
  }
  return -1;
}

// ---- Info tips ----

// One tip for the whole list, whose text follows the item under the mouse.
void CFileViewControl::MakeTip() {
  m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!m_tip) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(m_list);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, 400);
}

int CFileViewControl::ItemUnderMouse() const {
  LVHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ::ScreenToClient(m_list, &hit.pt);
  int index = ListView_HitTest(m_list, &hit);
  return index >= 0 && (hit.flags & LVHT_ONITEM) && size_t(index) < m_listing.Items().size() ? index : -1;
}

std::wstring CFileViewControl::GetItemTip(int index) const {
  if (index < 0 || size_t(index) >= m_listing.Items().size()) return std::wstring();
  const FileItem& item = m_listing.Items()[size_t(index)];
  std::wstring tip = infotip::For(m_listing.WideFolder(), item.wideName, item.isFolder);
  return tip.empty() ? item.label : item.label + L"\r\n" + tip;
}

LRESULT CFileViewControl::OnTipText(NMTTDISPINFOW* info) {
  m_tipItem = ItemUnderMouse();
  if (m_tipItem < 0 || ListView_GetEditControl(m_list)) return 0;
  m_tipText = GetItemTip(m_tipItem);
  info->lpszText = &m_tipText[0];
  return 0;
}

// The tip goes when the mouse leaves its item; resting on the next one brings that one's.
void CFileViewControl::FollowTip() {
  if (m_tip && ::IsWindowVisible(m_tip) && ItemUnderMouse() != m_tipItem) ::SendMessageW(m_tip, TTM_POP, 0, 0);
}

void CFileViewControl::OnDoubleClick(const NMITEMACTIVATE* click) { OpenItem(click->iItem); }

void CFileViewControl::OnKeyDown(const NMLVKEYDOWN* down) {
  WORD key = down->wVKey;
  bool control = IsDown(VK_CONTROL);
  if (control && key == 'C') CopySelection(DROPEFFECT_COPY);
  else if (control && key == 'X') CopySelection(DROPEFFECT_MOVE);
  else if (control && key == 'V') Paste();
  else if (control && key == 'A') SelectAll();
  else if (key == VK_F2) RenameSelection();
  else if (key == VK_DELETE) DeleteSelection(IsDown(VK_SHIFT));
  else if (key == VK_F5) Reload();
  else if (key == VK_F10 && IsDown(VK_SHIFT)) return;  // the list view asks for the menu itself
  else if (key == VK_BACK) GoBack();
  else if (key == VK_RETURN) OpenItem(ListView_GetNextItem(m_list, -1, LVNI_FOCUSED | LVNI_SELECTED));
}

void CFileViewControl::OnBeginDrag() { StartDrag(MK_LBUTTON); }

void CFileViewControl::OnBeginRightDrag() { StartDrag(MK_RBUTTON); }

LRESULT CFileViewControl::OnBeginLabelEdit() { return FALSE; }

// The new name is taken through the file operations engine (the shell's rename where the
// code page cannot hold it); the list shows it on reload.
LRESULT CFileViewControl::OnEndLabelEdit(const NMLVDISPINFOW* edit) {
  const LVITEMW& item = edit->item;
  if (!item.pszText || item.iItem < 0 || size_t(item.iItem) >= m_listing.Items().size()) return FALSE;
  const FileItem file = m_listing.Items()[size_t(item.iItem)];
  std::wstring name = Trimmed(item.pszText);
  if (name.empty() || name == file.label) return FALSE;
  if (name.find_first_of(kBadNameCharacters) != std::wstring::npos) {
    ShowErrorLater(std::wstring(L"A name cannot contain any of these characters: ") + kBadNameCharacters);
    return FALSE;
  }
  std::wstring renamed = JoinPath(m_listing.WideFolder(), m_listing.Names().NameForLabel(name, file.wideName, file.isFolder));
  std::wstring error = RenameFile(m_listing.PathOf(file), renamed);
  if (!error.empty()) {
    ShowErrorLater(file.label + L" cannot be renamed: " + error);
    return FALSE;
  }
  Refresh();
  ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  int index = m_listing.Find(renamed);
  if (index >= 0) {
    ListView_SetItemState(m_list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_list, index, FALSE);
  }
  return FALSE;
}

// ---- Drag and drop ----

void CFileViewControl::StartDrag(DWORD button) {
  std::vector<std::wstring> paths = SelectedPaths();
  if (paths.empty()) return;
  ComPtr<IDataObject> data = CFileDataObject::Create(paths, 0);
  ComPtr<IDropSource> source(new CDropSource(button), false);
  ComPtr<IDispatch> self(this, true);  // a drop handler may close the window under us
  g_dragSource = this;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  g_dragSource = nullptr;
  // The target moves the files itself; the watcher would see it, but show it now.
  if (m_hWnd) Reload();
}

IDispatch* CFileViewControl::DragSourceView() const {
  return g_dragSource ? static_cast<IDispatch*>(g_dragSource) : nullptr;
}

// The folder item under the point that a drop would go into, or -1 for the view's folder.
int CFileViewControl::DropItemAt(POINT point) const {
  LVHITTESTINFO hit{};
  hit.pt = point;
  int index = ListView_HitTest(m_list, &hit);
  if (index < 0 || size_t(index) >= m_listing.Items().size() || !(hit.flags & LVHT_ONITEM)) return -1;
  if (!m_listing.Items()[size_t(index)].isFolder) return -1;
  // A dragged folder is no place to drop itself.
  if (g_dragSource == this && ListView_GetItemState(m_list, index, LVIS_SELECTED)) return -1;
  return index;
}

void CFileViewControl::TakeDragFiles(IDataObject* data) {
  m_dragFiles = filedrop::FilesFrom(data);
  m_dragWithinDrive = !m_dragFiles.empty() && VolumeOf(m_dragFiles.front()) == VolumeOf(m_listing.WideFolder());
}

// Within a drive files move, across drives they are copied; Ctrl copies, Shift moves.
DWORD CFileViewControl::DefaultEffect(DWORD keys, DWORD allowed) const {
  DWORD effect;
  if (keys & MK_CONTROL) effect = DROPEFFECT_COPY;
  else if (keys & MK_SHIFT) effect = DROPEFFECT_MOVE;
  else effect = m_dragWithinDrive ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
  if (!(allowed & effect)) effect = allowed & (DROPEFFECT_COPY | DROPEFFECT_MOVE);
  if (effect == (DROPEFFECT_COPY | DROPEFFECT_MOVE)) effect = DROPEFFECT_COPY;
  return effect;
}

void CFileViewControl::HighlightDropItem(int index) {
  if (index == m_dropItem) return;
  int previous = m_dropItem;
  m_dropItem = index;
  if (previous >= 0) ListView_RedrawItems(m_list, previous, previous);
  if (index >= 0) ListView_RedrawItems(m_list, index, index);
  UpdateWindow(m_list);
}

DWORD CFileViewControl::OnDragOver(IDataObject* data, DWORD keys, POINT point, DWORD allowed,
                                   CFileDropTarget::DragState state) {
  if (state == CFileDropTarget::kEnter) TakeDragFiles(data);
  if (m_listing.GetStatus() != CFolderListing::Status::kListed || m_dragFiles.empty()) return DROPEFFECT_NONE;
  int item = DropItemAt(point);
  HighlightDropItem(item);
  DWORD effect = DefaultEffect(keys, allowed);
  return m_events.DragOver(effect, keys, long(m_dragFiles.size()), point, state, DragSourceView());
}

void CFileViewControl::OnDragLeave() {
  HighlightDropItem(-1);
  POINT nowhere{0, 0};
  m_events.DragOver(DROPEFFECT_NONE, 0, long(m_dragFiles.size()), nowhere, CFileDropTarget::kLeave, DragSourceView());
  m_dragFiles.clear();
}

DWORD CFileViewControl::OnDrop(IDataObject* data, DWORD keys, POINT point, DWORD allowed) {
  ComPtr<IDispatch> self(this, true);  // an event handler may close the window under us
  int item = DropItemAt(point);
  HighlightDropItem(-1);
  TakeDragFiles(data);
  std::vector<std::wstring> files;
  files.swap(m_dragFiles);
  if (files.empty() || m_listing.GetStatus() != CFolderListing::Status::kListed) return DROPEFFECT_NONE;
  std::wstring folder = item >= 0 ? m_listing.PathOf(m_listing.Items()[size_t(item)]) : m_listing.WideFolder();
  DWORD effect = DefaultEffect(keys, allowed);
  if (!m_events.Drop(allowed, keys, long(files.size()), point, DragSourceView()) || !m_hWnd) return DROPEFFECT_NONE;
  if (keys & MK_RBUTTON) effect = ChooseFromMenu(point, allowed, effect);
  if (effect == DROPEFFECT_NONE) return DROPEFFECT_NONE;
  DWORD done = Transfer(files, folder, effect);
  if (done == DROPEFFECT_NONE) return DROPEFFECT_NONE;
  // Files are moved here, as the shell moves them: the source is told the move is done
  // and gets no effect that would have it delete the files itself.
  filedrop::SetEffect(data, filedrop::PerformedEffectFormat(), done == DROPEFFECT_MOVE ? DROPEFFECT_NONE : done);
  filedrop::SetEffect(data, filedrop::LogicalPerformedEffectFormat(), done);
  return done == DROPEFFECT_MOVE ? DROPEFFECT_NONE : done;
}

DWORD CFileViewControl::ChooseFromMenu(POINT point, DWORD allowed, DWORD preferred) const {
  MenuHandle menu(CreatePopupMenu());
  AppendMenuA(menu.Get(), MF_STRING | ((allowed & DROPEFFECT_MOVE) ? 0 : MF_GRAYED), DROPEFFECT_MOVE, "&Move Here");
  AppendMenuA(menu.Get(), MF_STRING | ((allowed & DROPEFFECT_COPY) ? 0 : MF_GRAYED), DROPEFFECT_COPY, "&Copy Here");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING, 100, "Cancel");
  SetMenuDefaultItem(menu.Get(), preferred, FALSE);
  ::ClientToScreen(m_list, &point);
  ::SetForegroundWindow(GetAncestor(m_hWnd, GA_ROOT));  // so that a click elsewhere closes the menu
  UINT chosen = UINT(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, m_hWnd, nullptr));
  return chosen == DROPEFFECT_MOVE || chosen == DROPEFFECT_COPY ? DWORD(chosen) & allowed : DROPEFFECT_NONE;
}
