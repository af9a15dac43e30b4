#include "notes/RichEditCallback.h"

#include <cwchar>

#include "framework/Exceptions.h"

CRichEditCallback::CRichEditCallback() {
  HRESULT result = StgCreateDocfile(nullptr, kStorageMode | STGM_DELETEONRELEASE, 0, &m_rootStorage);
  if (FAILED(result) || !m_rootStorage) AfxThrowOleException(FAILED(result) ? result : E_OUTOFMEMORY);
}

CRichEditCallback::~CRichEditCallback() {
  if (m_rootStorage) m_rootStorage->Release();
}

STDMETHODIMP CRichEditCallback::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRichEditOleCallback)) {
    *object = static_cast<IRichEditOleCallback*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CRichEditCallback::AddRef() { return ++m_refCount; }

STDMETHODIMP_(ULONG) CRichEditCallback::Release() {
  if (--m_refCount == 0) {
    delete this;
    return 0;
  }
  return m_refCount;
}

// Each embedded object gets a sub-storage of its own, "REOLEStorage1", "REOLEStorage2", ...;
// a number is never handed out twice. Nothing may throw into the control, so a failure is
// answered with its code.
STDMETHODIMP CRichEditCallback::GetNewStorage(LPSTORAGE* storage) {
  if (!storage) return E_POINTER;
  *storage = nullptr;
  ++m_storageCount;
  wchar_t name[32];
  swprintf(name, 32, L"REOLEStorage%d", m_storageCount);
  return m_rootStorage->CreateStorage(name, kStorageMode, 0, 0, storage);
}

STDMETHODIMP CRichEditCallback::GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*, LPOLEINPLACEFRAMEINFO) {
  return S_OK;
}
STDMETHODIMP CRichEditCallback::ShowContainerUI(BOOL) { return S_OK; }
STDMETHODIMP CRichEditCallback::QueryInsertObject(LPCLSID, LPSTORAGE, LONG) { return S_OK; }
STDMETHODIMP CRichEditCallback::DeleteObject(LPOLEOBJECT) { return S_OK; }
STDMETHODIMP CRichEditCallback::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) { return S_OK; }
STDMETHODIMP CRichEditCallback::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP CRichEditCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) { return S_OK; }
STDMETHODIMP CRichEditCallback::GetDragDropEffect(BOOL, DWORD, LPDWORD) { return S_OK; }
STDMETHODIMP CRichEditCallback::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) { return S_OK; }
