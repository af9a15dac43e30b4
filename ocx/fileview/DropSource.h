// CDropSource: the source side of a drag that started with one mouse button: the drag
// ends with a drop when that button is released, and is cancelled by Escape or by the
// other button.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include "framework/ComObject.h"

class CDropSource : public CComObject<IDropSource, &IID_IDropSource> {
 public:
  explicit CDropSource(DWORD button) : m_button(button) {}  // MK_LBUTTON or MK_RBUTTON
  virtual ~CDropSource() = default;

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  DWORD m_button;
};
