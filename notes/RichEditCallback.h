// CRichEditCallback: what a rich edit control asks of its container so it can hold
// embedded objects. It hands out a sub-storage of one temporary compound file for each
// new object and accepts everything else as it comes.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <richole.h>

#include "framework/ComObject.h"

class CRichEditCallback : public CComObject<IRichEditOleCallback, &IID_IRichEditOleCallback, 0> {
 public:
  // Creates the temporary root storage; throws COleException when it cannot.
  CRichEditCallback();
  virtual ~CRichEditCallback();
  CRichEditCallback(const CRichEditCallback&) = delete;
  CRichEditCallback& operator=(const CRichEditCallback&) = delete;

  // IRichEditOleCallback
  STDMETHODIMP GetNewStorage(LPSTORAGE* storage) override;
  STDMETHODIMP GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*, LPOLEINPLACEFRAMEINFO) override;
  STDMETHODIMP ShowContainerUI(BOOL) override;
  STDMETHODIMP QueryInsertObject(LPCLSID, LPSTORAGE, LONG) override;
  STDMETHODIMP DeleteObject(LPOLEOBJECT) override;
  STDMETHODIMP QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override;
  STDMETHODIMP GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) override;
  STDMETHODIMP GetDragDropEffect(BOOL, DWORD, LPDWORD) override;
  STDMETHODIMP GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) override;

  // Transacted, create, read-write, share-exclusive: 0x00011012.
  static constexpr DWORD kStorageMode = STGM_TRANSACTED | STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

 private:
  int m_storageCount = 0;  // sub-storages handed out; names are numbered from 1
  IStorage* m_rootStorage = nullptr;
};
