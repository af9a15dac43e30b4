// CFileDropTarget: the drop target of a view. It accepts only data that carries files
// (CF_HDROP) and hands the drag to its site in the site's client coordinates. A drop
// reports the mouse buttons held during the last move, since the button that carried the
// drag is already up when the drop arrives.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include "framework/ComObject.h"
#include "framework/Handles.h"

class CFileDropTarget : public CComObject<IDropTarget, &IID_IDropTarget> {
 public:
  enum DragState { kEnter = 0, kLeave = 1, kOver = 2 };

  class Site {
   public:
    // Returns the effect the drop would have (one of `allowed`, or DROPEFFECT_NONE).
    virtual DWORD OnDragOver(IDataObject* data, DWORD keys, POINT point, DWORD allowed, DragState state) = 0;
    virtual void OnDragLeave() = 0;
    // Carries the drop out; returns the effect it had.
    virtual DWORD OnDrop(IDataObject* data, DWORD keys, POINT point, DWORD allowed) = 0;

   protected:
    ~Site() = default;
  };

  CFileDropTarget(HWND window, Site* site) : m_window(window), m_site(site) {}
  virtual ~CFileDropTarget() = default;
  // The site is going: from now on every drag is refused.
  void Detach() { m_site = nullptr; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

 private:
  POINT ToClient(POINTL at) const;
  DWORD Over(DWORD keys, POINTL at, DWORD allowed, DragState state);

  HWND m_window;
  Site* m_site;
  ComPtr<IDataObject> m_data;  // while a drag with files is over the window
  DWORD m_keys = 0;
  DWORD m_lastEffect = DROPEFFECT_NONE;  // what the last move over the window would do
};
