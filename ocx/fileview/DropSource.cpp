#include "ocx/fileview/DropSource.h"

HRESULT CDropSource::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDropSource) {
    *out = static_cast<IDropSource*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CDropSource::Release() {
  ULONG left = --m_refs;
  if (left == 0) delete this;
  return left;
}

HRESULT CDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  DWORD other = m_button == MK_LBUTTON ? MK_RBUTTON : MK_LBUTTON;
  if (escapePressed || (keyState & other)) return DRAGDROP_S_CANCEL;
  if (!(keyState & m_button)) return DRAGDROP_S_DROP;
  return S_OK;
}
