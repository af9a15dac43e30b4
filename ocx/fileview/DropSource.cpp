#include "ocx/fileview/DropSource.h"

HRESULT CDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  DWORD other = m_button == MK_LBUTTON ? MK_RBUTTON : MK_LBUTTON;
  if (escapePressed || (keyState & other)) return DRAGDROP_S_CANCEL;
  if (!(keyState & m_button)) return DRAGDROP_S_DROP;
  return S_OK;
}
