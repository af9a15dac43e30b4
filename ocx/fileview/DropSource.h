// CDropSource: the source side of a drag that started with one mouse button: the drag
// ends with a drop when that button is released, and is cancelled by Escape or by the
// other button.
#pragma once

#include <windows.h>
#include <oleidl.h>

class CDropSource : public IDropSource {
 public:
  explicit CDropSource(DWORD button) : m_button(button) {}  // MK_LBUTTON or MK_RBUTTON
  virtual ~CDropSource() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  ULONG m_refs = 1;
  DWORD m_button;
};
