// CFileViewEvents: the events a file view raises to its container, with their exact
// parameter lists. The first parameter of each is the view itself (its IDispatch).
//
//   1  FolderShown(view, long itemCount, long backSteps)
//      Each time the view starts to show a folder: the root (once the container is up),
//      a sub-folder opened by double click, the folder GoBack returned to. itemCount is
//      -1 when the folder cannot be shown; backSteps is how many GoBack calls have a
//      folder to return to.
//   10 ItemOpened(view, bool isFolder)
//      After a double click opened an item: true when the view went into a sub-folder,
//      false when the shell was asked to open a file or program.
//   22 DragOver(view, long* effect, long keyState, long itemCount, float x, float y,
//               long state, sourceView)
//      While files are dragged over the view: state 0 as they enter, 2 as they move, 1 as
//      they leave. effect is the drop effect the view would use (DROPEFFECT_COPY or
//      DROPEFFECT_MOVE, 0 for none); the container may lower it. x and y are in the
//      view's client pixels; sourceView is the view the files come from, if it is one of
//      ours in this program, else Nothing.
//   24 BeforeTransfer(view, long* effect, long itemCount, bool* cancel)
//      Before dropped or pasted files are copied (effect 1) or moved (effect 2) into the
//      view's folder. The container may switch the effect or cancel.
//   25 Drop(view, long effects, long keyState, long itemCount, float x, float y,
//           sourceView, bool* cancel)
//      When files are dropped, before the Move/Copy menu of a right-button drop; effects
//      are those the drag allows. Cancel refuses the drop.
#pragma once

#include <windows.h>

#include "ocx/fileview/FileViewContract.h"

class CHostedControl;

class CFileViewEvents {
 public:
  enum : DISPID {
    kFolderShown = fileviewcontract::kFolderShown,
    kItemOpened = fileviewcontract::kItemOpened,
    kDragOver = fileviewcontract::kDragOver,
    kBeforeTransfer = fileviewcontract::kBeforeTransfer,
    kDrop = fileviewcontract::kDrop,
  };

  explicit CFileViewEvents(CHostedControl* view) : m_view(view) {}

  void FolderShown(long itemCount, long backSteps);
  void ItemOpened(bool isFolder);
  // The effect that remains after the container's say.
  DWORD DragOver(DWORD effect, DWORD keys, long itemCount, POINT point, long state, IDispatch* source);
  // False when the container cancelled; *effect may have been changed.
  bool BeforeTransfer(DWORD* effect, long itemCount);
  bool Drop(DWORD effects, DWORD keys, long itemCount, POINT point, IDispatch* source);

 private:
  IDispatch* View() const;
  CHostedControl* m_view;
};
