// CFileViewControl: the file view, a hosted control that shows one folder's items as large
// icons with their names, like a small desktop.
//
// Stored state: "root" (the folder shown first), "filter" (patterns for the files shown,
// "*.*" when missing; sub-folders always show), "font" (face of the names, 8 points).
//
// The user opens an item by double click (a folder opens inside the view, anything else
// through the shell); Backspace or GoBack returns to the folder shown before. Files are
// dragged in and out with either mouse button: a right-button drop asks Move or Copy, a
// left-button drop moves within a drive and copies across drives (Ctrl copies, Shift
// moves). A drop onto a folder item goes into that folder. Ctrl+C, Ctrl+X and Ctrl+V use
// the clipboard in the shell's formats; F2 renames, Delete sends to the Recycle Bin and
// Shift+Delete deletes for good, F5 reloads. A right click that starts no drag, Shift+F10
// and the menu key show the shell's context menu. Names are kept in wide text throughout.
// The view reloads by itself when its folder changes on disk, and shows a line of text
// instead of items when its folder cannot be shown.
//
// Methods: 43 GoBack(). Events: see FileViewEvents.h.
//
// Large folders: the list is virtual (the list view asks for the names it draws), and the
// items' own icons come in afterwards in short slices, visible items first.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "ocx/HostedControl.h"
#include "ocx/fileview/FileDropTarget.h"
#include "ocx/fileview/FileViewContract.h"
#include "ocx/fileview/FileViewEvents.h"
#include "ocx/fileview/FolderListing.h"
#include "ocx/fileview/FolderWatcher.h"
#include "ocx/fileview/IconLoader.h"
#include "ocx/fileview/ShellMenu.h"

class CFileViewControl : public CHostedControl, private CFileDropTarget::Site {
 public:
  static constexpr UINT kListId = 1;  // the list view inside the control
  // Registers the window class named by the control's CLSID (CLSID_CLASS_FILE_VIEW).
  static void Register();

  CFileViewControl() = default;

  // DISPID 43: shows the folder shown before the current one; nothing when there is none.
  void GoBack();

  // What the view shows, for its owner and tests.
  const CString& GetFolder() const { return m_listing.Folder(); }
  const CFolderListing& GetListing() const { return m_listing; }
  HWND GetListView() const { return m_list; }
  IDropTarget* GetDropTarget() const { return m_dropTarget.Get(); }
  bool IsLoadingIcons() const { return m_icons.IsPending(); }
  bool IsLoadingVisibleIcons() const { return m_icons.IsWantedPending(); }

  // The user's commands, as the keys and the mouse give them.
  void OpenItem(int index);
  void CopySelection(DWORD effect);  // DROPEFFECT_COPY: Ctrl+C; DROPEFFECT_MOVE: Ctrl+X
  void Paste();
  void DeleteSelection(bool forGood);  // Delete: to the Recycle Bin; Shift+Delete: for good
  void RenameSelection();
  void Reload();
  // What the tip says over item `index`: its name, and what the shell tells of it.
  std::wstring GetItemTip(int index) const;
  // The shell's context menu for the selected items, or for the folder; and what its
  // commands do.
  bool BuildMenu(CShellMenu* menu, bool forSelection) const;
  void RunMenuCommand(const CShellMenu& menu, UINT command, POINT screen);
  // The shell asks before it recycles; tests that press Delete turn that question off.
  void SetShellAsksBeforeRecycling(bool asks) { m_shellAsksBeforeRecycling = asks; }

  const MethodMap& GetMethodMap() const override;
  const MessageMap* GetMessageMap() const override;

 protected:
  void OnCreateControl() override;

 private:
  ~CFileViewControl() override = default;

  void ShowFolder(const std::wstring& folder);
  void RaiseFolderShown();
  void ShowProblem();
  void Refresh();
  std::vector<int> SelectedIndices() const;
  std::vector<std::wstring> SelectedPaths() const;
  void SelectPaths(const std::vector<std::wstring>& paths);
  void SelectAll();
  void SelectIndices(const std::vector<int>& indices);
  void ShowShellMenu(POINT screen, bool forSelection);
  DWORD Transfer(const std::vector<std::wstring>& files, const std::wstring& folder, DWORD effect);
  bool AskDeleteForGood(const std::vector<int>& indices) const;
  void StartDrag(DWORD button);
  void ShowError(const std::wstring& text) const;
  void ShowErrorLater(const std::wstring& text);
  void KeepIconsComing();
  void TakeDrops();

  // Message handlers.
  void OnSize(UINT type, int width, int height);
  LRESULT OnPaint();
  void OnSetFocus();
  void OnTimer(UINT_PTR id);
  bool OnDestroy();
  LRESULT OnFirstShown(WPARAM, LPARAM);
  LRESULT OnLaterError(WPARAM, LPARAM);
  LRESULT OnTakeDrops(WPARAM, LPARAM);
  LRESULT OnNotifyFormat(WPARAM, LPARAM);
  LRESULT OnContextMenu(WPARAM, LPARAM lParam);
  template <UINT Message> LRESULT OnMenuMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetDispInfo(NMLVDISPINFOW* info);
  LRESULT OnCustomDraw(const NMLVCUSTOMDRAW* draw);
  LRESULT OnFindItem(const NMLVFINDITEMW* find);
  LRESULT OnTipText(NMTTDISPINFOW* info);
  void MakeTip();
  void FollowTip();
  int ItemUnderMouse() const;
  void OnDoubleClick(const NMITEMACTIVATE* click);
  void OnKeyDown(const NMLVKEYDOWN* down);
  void OnBeginDrag();
  void OnBeginRightDrag();
  LRESULT OnBeginLabelEdit();
  LRESULT OnEndLabelEdit(const NMLVDISPINFOW* edit);

  // Drop site.
  DWORD OnDragOver(IDataObject* data, DWORD keys, POINT point, DWORD allowed,
                   CFileDropTarget::DragState state) override;
  void OnDragLeave() override;
  DWORD OnDrop(IDataObject* data, DWORD keys, POINT point, DWORD allowed) override;
  int DropItemAt(POINT point) const;
  void TakeDragFiles(IDataObject* data);
  DWORD DefaultEffect(DWORD keys, DWORD allowed) const;
  void HighlightDropItem(int index);
  DWORD ChooseFromMenu(POINT point, DWORD allowed, DWORD preferred) const;
  IDispatch* DragSourceView() const;

  HWND m_list = nullptr;
  FontHandle m_font;
  CFolderListing m_listing;
  CIconLoader m_icons;
  CFolderWatcher m_watcher;
  CString m_filter;
  std::vector<std::wstring> m_history;
  ComPtr<CFileDropTarget> m_dropTarget;
  bool m_dropRegistered = false;
  bool m_firstPaintOver = false;
  CFileViewEvents m_events{this};
  std::vector<std::wstring> m_dragFiles;  // the files of the drag now over the view
  bool m_dragWithinDrive = false;    // ... and whether they are on the view's drive
  int m_dropItem = -1;               // the folder item a drop would go into
  std::wstring m_laterError;
  bool m_shellAsksBeforeRecycling = true;
  const CShellMenu* m_openMenu = nullptr;  // while the shell's menu is up
  HWND m_tip = nullptr;  // the info tip, owned by the control's window
  int m_tipItem = -1;
  std::wstring m_tipText;
};
