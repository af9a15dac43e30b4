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
