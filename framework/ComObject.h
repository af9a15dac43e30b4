// CComObject: IUnknown for an object that offers one COM interface and lives as long as it
// is referenced. It starts with `kInitialRefs` references (by default one, its creator's);
// the last Release deletes it.
#pragma once

#include <windows.h>
#include <objbase.h>

template <class Interface, const IID* kIid, ULONG kInitialRefs = 1> class CComObject : public Interface {
 public:
  CComObject() = default;
  CComObject(const CComObject&) = delete;
  CComObject& operator=(const CComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == *kIid) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~CComObject() = default;

 private:
  ULONG m_refs = kInitialRefs;
};
