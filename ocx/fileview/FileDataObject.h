// CFileDataObject: the data object of files dragged out of a view: CF_HDROP with the
// paths and "Preferred DropEffect". It also keeps any global-memory format a drop target
// sets into it (such as "Performed DropEffect").
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

#include "framework/CString.h"
#include "framework/ComObject.h"
#include "framework/Handles.h"

class CFileDataObject : public CComObject<IDataObject, &IID_IDataObject> {
 public:
  // `preferredEffect` 0 leaves "Preferred DropEffect" out (a drag lets the target choose).
  static ComPtr<IDataObject> Create(const std::vector<std::wstring>& paths, DWORD preferredEffect);

  // IDataObject
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  CFileDataObject() = default;
  virtual ~CFileDataObject() = default;
  struct Entry {
    UINT format;
    std::vector<BYTE> bytes;
  };
  Entry* Find(const FORMATETC* format);
  void Store(UINT format, HGLOBAL block);

  std::vector<Entry> m_entries;
};
