#include "ocx/fileview/FileViewControl.h"

#include <shellapi.h>

#include <set>
#include <string>

#include "fileops/FileOpsEngine.h"
#include "framework/Exceptions.h"
#include "framework/PrivateMessages.h"
#include "ocx/fileview/DropSource.h"
#include "ocx/fileview/FileClipboard.h"
#include "ocx/fileview/FileDataObject.h"
#include "ocx/fileview/FileDropList.h"
#include "ocx/fileview/FileTransfer.h"
#include "res/resource.h"

namespace {
const UINT_PTR kWatchTimer = 1;
const UINT kWatchMs = 500;
const UINT_PTR kIconTimer = 2;
const DWORD kIconSliceMs = 15;
// One timer tick fetches icons in slices for up to this long, unless input comes: the ticks
// themselves are at least 10 ms apart, and waiting for each one after a single slice left
// the first screen's own icons half a second late in a folder of programs.
const DWORD kIconTickMs = 25;
const char kCaption[] = "Tidybar";
const char kBadNameCharacters[] = "\\/:*?\"<>|";

// The view a drag in this program started from, while the drag is under way.
CFileViewControl* g_dragSource = nullptr;

std::string UpperKey(const CString& text) {
  CString upper = text;
  upper.MakeUpper();
  return upper.GetString();
}

bool IsDown(int key) { return GetKeyState(key) < 0; }

bool IsFolderPath(const CString& path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "C:\" for "c:\a\b", "\\server\share\" for a network path.
CString VolumeOf(const CString& path) {
  char root[MAX_PATH];
  if (!GetVolumePathNameA(path, root, MAX_PATH)) return CString();
  CString volume = root;
  volume.MakeUpper();
  return volume;
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
      OnNotify(kListId, LVN_GETDISPINFOA, &CFileViewControl::OnGetDispInfo),
      OnNotify(kListId, LVN_ODFINDITEMA, &CFileViewControl::OnFindItem),
      OnNotify(kListId, NM_DBLCLK, &CFileViewControl::OnDoubleClick),
      OnNotify(kListId, LVN_KEYDOWN, &CFileViewControl::OnKeyDown),
      OnNotify(kListId, LVN_BEGINDRAG, &CFileViewControl::OnBeginDrag),
      OnNotify(kListId, LVN_BEGINRDRAG, &CFileViewControl::OnBeginRightDrag),
      OnNotify(kListId, LVN_BEGINLABELEDITA, &CFileViewControl::OnBeginLabelEdit),
      OnNotify(kListId, LVN_ENDLABELEDITA, &CFileViewControl::OnEndLabelEdit),
  };
  static const MessageMap map{CHostedControl::GetMessageMap(), entries};
  return &map;
}

void CFileViewControl::OnCreateControl() {
  WindowDc screen(nullptr);
  int height = -MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
  m_font.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, StoredValue("font", "Tahoma")));
  RECT client;
  GetClientRect(&client);
  m_list = CreateWindowExA(0, WC_LISTVIEWA, "",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_OWNERDATA | LVS_EDITLABELS |
                               LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE,
                           0, 0, client.right, client.bottom, m_hWnd, reinterpret_cast<HMENU>(kListId),
                           GetModuleHandleA(nullptr), nullptr);
  if (!m_list) return;
  ::SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
  ListView_SetImageList(m_list, m_icons.ImageList(), LVSIL_NORMAL);
  ListView_SetCallbackMask(m_list, LVIS_DROPHILITED);
  m_dropTarget = ComPtr<CFileDropTarget>(new CFileDropTarget(m_list, this), false);
  RegisterDragDrop(m_list, m_dropTarget.Get());
  m_filter = StoredValue("filter", "*.*");
  ShowFolder(StoredValue("root"));
  SetTimer(kWatchTimer, kWatchMs);
  // The container is still being built: it hears of the first folder once it is up.
  PostMessage(kFirstShownMessage);
}

bool CFileViewControl::OnDestroy() {
  if (m_list) RevokeDragDrop(m_list);
  if (m_dropTarget) m_dropTarget->Detach();
  m_watcher.Stop();
  return false;
}

LRESULT CFileViewControl::OnFirstShown(WPARAM, LPARAM) {
  RaiseFolderShown();
  return 0;
}

void CFileViewControl::RaiseFolderShown() {
  m_events.FolderShown(m_listing.GetStatus() == CFolderListing::Status::kListed ? long(m_listing.Items().size()) : -1,
                       long(m_history.size()));
}

// ---- Showing a folder ----

void CFileViewControl::ShowFolder(const CString& folder) {
  ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_listing.Read(folder.IsEmpty() ? folder : FullPath(folder), m_filter);
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
  std::vector<CString> selected = SelectedPaths();
  int focused = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED);
  CString focusedPath =
      focused >= 0 && size_t(focused) < m_listing.Items().size() ? m_listing.Items()[size_t(focused)].path : CString();
  ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_listing.Read(m_listing.Folder(), m_filter);
  m_icons.Reset(m_listing.Items());
  ListView_SetItemCountEx(m_list, int(m_listing.Items().size()), LVSICF_NOSCROLL);
  SelectPaths(selected);
  int refocus = focusedPath.IsEmpty() ? -1 : m_listing.Find(focusedPath);
  if (refocus >= 0) ListView_SetItemState(m_list, refocus, LVIS_FOCUSED, LVIS_FOCUSED);
  InvalidateRect(m_list, nullptr, TRUE);
  ShowProblem();
  if (m_listing.GetStatus() != CFolderListing::Status::kListed) m_watcher.Stop();
  else if (!m_watcher.IsWatching()) m_watcher.Watch(m_listing.Folder());
  KeepIconsComing();
}

void CFileViewControl::GoBack() {
  if (m_history.empty()) return;
  CString previous = m_history.back();
  m_history.pop_back();
  ShowFolder(previous);
  RaiseFolderShown();
}

void CFileViewControl::OpenItem(int index) {
  if (index < 0 || size_t(index) >= m_listing.Items().size()) return;
  FileItem item = m_listing.Items()[size_t(index)];
  if (item.isFolder) {
    m_history.push_back(m_listing.Folder());
    ShowFolder(item.path);
    RaiseFolderShown();
    m_events.ItemOpened(true);
    return;
  }
  auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(m_hWnd, nullptr, item.path, nullptr, m_listing.Folder(), SW_SHOWNORMAL));
  if (result <= 32) {
    ShowError(item.name +
              " cannot be opened: " + SystemErrorText(result == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : DWORD(result)));
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

std::vector<CString> CFileViewControl::SelectedPaths() const {
  std::vector<CString> paths;
  for (int i : SelectedIndices()) paths.push_back(m_listing.Items()[size_t(i)].path);
  return paths;
}

void CFileViewControl::SelectAll() { ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED); }

void CFileViewControl::SelectPaths(const std::vector<CString>& paths) {
  std::set<std::string> wanted;
  for (const CString& path : paths) wanted.insert(UpperKey(path));
  const std::vector<FileItem>& items = m_listing.Items();
  for (size_t i = 0; i < items.size() && !wanted.empty(); ++i)
    if (wanted.erase(UpperKey(items[i].path))) ListView_SetItemState(m_list, int(i), LVIS_SELECTED, LVIS_SELECTED);
}

// ---- Clipboard, delete, rename ----

void CFileViewControl::CopySelection(DWORD effect) {
  std::vector<CString> paths = SelectedPaths();
  if (!paths.empty() && !fileclipboard::Put(m_hWnd, paths, effect)) ShowError("The clipboard cannot be opened.");
}

void CFileViewControl::Paste() {
  DWORD effect = DROPEFFECT_COPY;
  std::vector<CString> files = fileclipboard::Get(m_hWnd, &effect);
  if (files.empty() || m_listing.GetStatus() != CFolderListing::Status::kListed) return;
  DWORD done = Transfer(files, m_listing.Folder(), effect);
  if (done == DROPEFFECT_MOVE) fileclipboard::Clear(m_hWnd);  // the cut files are no longer there
}

// Copies or moves after the container's say; returns the effect carried out, or none when
// something failed or nothing needed doing.
DWORD CFileViewControl::Transfer(const std::vector<CString>& files, const CString& folder, DWORD effect) {
  ComPtr<IDispatch> self(this, true);  // the container may close the window from its handler
  if (!m_events.BeforeTransfer(&effect, long(files.size())) || !m_hWnd) return DROPEFFECT_NONE;
  if (effect != DROPEFFECT_COPY && effect != DROPEFFECT_MOVE) return DROPEFFECT_NONE;
  CFileTransfer transfer;
  bool ok = transfer.Run(files, folder, effect);
  Reload();
  if (!ok) ShowError(transfer.GetErrorText());
  return ok && transfer.GetDone() > 0 ? effect : DROPEFFECT_NONE;
}

void CFileViewControl::DeleteSelection() {
  std::vector<int> indices = SelectedIndices();
  if (indices.empty()) return;
  CString question;
  if (indices.size() == 1) question = "Delete \"" + m_listing.Items()[size_t(indices[0])].name + "\" for good?";
  else question.Format("Delete these %d items for good?", int(indices.size()));
  if (MessageBoxA(m_hWnd, question, "Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  CString error;
  CFileOpsEngine engine;
  for (const CString& path : SelectedPaths()) {
    if (!engine.Delete(path) && error.IsEmpty()) error = engine.GetErrorText();
    if (engine.IsStopped()) break;  // the user kept a read-only file or cancelled: go no further
  }
  Reload();
  if (!error.IsEmpty()) ShowError(error);
}

void CFileViewControl::RenameSelection() {
  int index = ListView_GetNextItem(m_list, -1, LVNI_FOCUSED | LVNI_SELECTED);
  if (index < 0) index = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
  if (index < 0) return;
  ::SetFocus(m_list);
  ListView_EditLabel(m_list, index);
}

void CFileViewControl::ShowError(const CString& text) const {
  MessageBoxA(m_hWnd, text, kCaption, MB_OK | MB_ICONWARNING);
}

// While the list view ends a label edit, a message box would take the focus from the edit
// and have it end again; the box waits until the edit is gone.
void CFileViewControl::ShowErrorLater(const CString& text) {
  m_laterError = text;
  PostMessage(kLaterErrorMessage);
}

LRESULT CFileViewControl::OnLaterError(WPARAM, LPARAM) {
  CString text = m_laterError;
  m_laterError.Empty();
  if (!text.IsEmpty()) ShowError(text);
  return 0;
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
    if (!m_icons.IsPending()) KillTimer(kIconTimer);
  } else if (id == kWatchTimer) {
    // A folder that cannot be shown is looked for again, in case it comes back. One that is
    // shown may itself be renamed or deleted, which its own watch does not report.
    bool listed = m_listing.GetStatus() == CFolderListing::Status::kListed;
    bool there = IsFolderPath(m_listing.Folder());
    if (listed ? (m_watcher.HasChanged() || !there) : there) Reload();
  }
}

void CFileViewControl::KeepIconsComing() {
  if (m_icons.IsPending()) SetTimer(kIconTimer, 1);
}

// ---- List view notifications ----

LRESULT CFileViewControl::OnGetDispInfo(NMLVDISPINFOA* info) {
  LVITEMA& item = info->item;
  if (item.iItem < 0 || size_t(item.iItem) >= m_listing.Items().size()) return 0;
  const FileItem& file = m_listing.Items()[size_t(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    lstrcpynA(item.pszText, file.name, item.cchTextMax);
  if (item.mask & LVIF_IMAGE) item.iImage = m_icons.IconFor(item.iItem);
  if (item.mask & LVIF_STATE) item.state = item.iItem == m_dropItem ? LVIS_DROPHILITED : 0;
  return 0;
}

// Typing a name's first letters moves to it.
LRESULT CFileViewControl::OnFindItem(const NMLVFINDITEMA* find) {
  if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
  CString prefix = find->lvfi.psz;
  const std::vector<FileItem>& items = m_listing.Items();
  int count = int(items.size());
  for (int step = 0; step < count; ++step) {
    int i = (std::max(0, find->iStart) + step) % count;
    if (items[size_t(i)].name.Left(prefix.GetLength()).CompareNoCase(prefix) == 0) return i;
  }
  return -1;
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
  else if (key == VK_DELETE) DeleteSelection();
  else if (key == VK_F5) Reload();
  else if (key == VK_BACK) GoBack();
  else if (key == VK_RETURN) OpenItem(ListView_GetNextItem(m_list, -1, LVNI_FOCUSED | LVNI_SELECTED));
}

void CFileViewControl::OnBeginDrag() { StartDrag(MK_LBUTTON); }

void CFileViewControl::OnBeginRightDrag() { StartDrag(MK_RBUTTON); }

LRESULT CFileViewControl::OnBeginLabelEdit() { return FALSE; }

// The new name is taken through the file operations engine; the list shows it on reload.
LRESULT CFileViewControl::OnEndLabelEdit(const NMLVDISPINFOA* edit) {
  const LVITEMA& item = edit->item;
  if (!item.pszText || item.iItem < 0 || size_t(item.iItem) >= m_listing.Items().size()) return FALSE;
  const FileItem file = m_listing.Items()[size_t(item.iItem)];
  CString name = item.pszText;
  name.Trim();
  name.TrimRight('.');  // the file system drops trailing dots anyway
  if (name.IsEmpty() || name == file.name) return FALSE;
  if (name.FindOneOf(kBadNameCharacters) >= 0) {
    ShowErrorLater(CString("A name cannot contain any of these characters: ") + kBadNameCharacters);
    return FALSE;
  }
  CString renamed = JoinPath(m_listing.Folder(), name);
  CFileOpsEngine engine;
  if (!engine.Rename(file.path, renamed)) {
    ShowErrorLater(file.name + " cannot be renamed: " + engine.GetErrorText());
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
  std::vector<CString> paths = SelectedPaths();
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
  m_dragWithinDrive = !m_dragFiles.empty() && VolumeOf(m_dragFiles.front()) == VolumeOf(m_listing.Folder());
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
  std::vector<CString> files;
  files.swap(m_dragFiles);
  if (files.empty() || m_listing.GetStatus() != CFolderListing::Status::kListed) return DROPEFFECT_NONE;
  CString folder = item >= 0 ? m_listing.Items()[size_t(item)].path : m_listing.Folder();
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
