#include "ocx/fileview/FileDropTarget.h"

#include "framework/Exceptions.h"
#include "ocx/fileview/FileDropList.h"

namespace {
const DWORD kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

// The site's work runs under the drag system, outside any window procedure: nothing it
// throws may get out. What fails is reported and gives no effect.
template <class Body> DWORD Guarded(Body body) {
  DWORD effect = DROPEFFECT_NONE;
  if (!AfxGuard([&] { effect = body(); })) effect = DROPEFFECT_NONE;
  return effect;
}
}  // namespace

POINT CFileDropTarget::ToClient(POINTL at) const {
  POINT point{at.x, at.y};
  ScreenToClient(m_window, &point);
  return point;
}

DWORD CFileDropTarget::Over(DWORD keys, POINTL at, DWORD allowed, DragState state) {
  if (!m_site || !m_data) return DROPEFFECT_NONE;
  if (keys & kButtons) m_keys = keys;
  m_lastEffect = Guarded([&] { return m_site->OnDragOver(m_data.Get(), m_keys, ToClient(at), allowed, state); });
  m_lastEffect &= allowed;
  return m_lastEffect;
}

HRESULT CFileDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  m_data = filedrop::HasFiles(data) ? ComPtr<IDataObject>(data, true) : ComPtr<IDataObject>();
  m_keys = keys;
  m_lastEffect = DROPEFFECT_NONE;
  *effect = Over(keys, at, *effect, kEnter);
  return S_OK;
}

HRESULT CFileDropTarget::DragOver(DWORD keys, POINTL at, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = Over(keys, at, *effect, kOver);
  return S_OK;
}

HRESULT CFileDropTarget::DragLeave() {
  if (m_site && m_data)
    Guarded([&] {
      m_site->OnDragLeave();
      return DWORD(DROPEFFECT_NONE);
    });
  m_data = ComPtr<IDataObject>();
  return S_OK;
}

HRESULT CFileDropTarget::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  bool entered = m_data.Get() != nullptr;
  m_data = ComPtr<IDataObject>();
  // Where the last move said no, no drop happens (the drag system would not even drop).
  if (!m_site || !entered || m_lastEffect == DROPEFFECT_NONE || !filedrop::HasFiles(data)) return S_OK;
  // Buttons are up by now: the drop was made with the buttons of the last move.
  DWORD keysOfDrop = (keys & ~kButtons) | (m_keys & kButtons);
  *effect = Guarded([&] { return m_site->OnDrop(data, keysOfDrop, ToClient(at), allowed); }) & allowed;
  return S_OK;
}
