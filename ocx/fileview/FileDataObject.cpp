#include "ocx/fileview/FileDataObject.h"

#include <shlobj.h>

#include <cstring>
#include <new>

#include "ocx/fileview/FileDropList.h"

ComPtr<IDataObject> CFileDataObject::Create(const std::vector<std::wstring>& paths, DWORD preferredEffect) {
  auto* object = new CFileDataObject();
  ComPtr<IDataObject> held(object, false);
  HGLOBAL drop = filedrop::MakeDropFiles(paths);
  HGLOBAL effect = preferredEffect ? filedrop::MakeEffect(preferredEffect) : nullptr;
  object->Store(CF_HDROP, drop);
  object->Store(filedrop::PreferredEffectFormat(), effect);
  if (drop) GlobalFree(drop);
  if (effect) GlobalFree(effect);
  return held;
}

void CFileDataObject::Store(UINT format, HGLOBAL block) {
  if (!block) return;
  std::vector<BYTE> copy(GlobalSize(block));  // allocated before the block is locked
  const void* data = GlobalLock(block);
  if (!data) return;
  std::memcpy(copy.data(), data, copy.size());
  GlobalUnlock(block);
  FORMATETC wanted{CLIPFORMAT(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  if (Entry* entry = Find(&wanted)) entry->bytes.swap(copy);
  else m_entries.push_back(Entry{format, std::move(copy)});
}

CFileDataObject::Entry* CFileDataObject::Find(const FORMATETC* format) {
  if (!format || format->dwAspect != DVASPECT_CONTENT || !(format->tymed & TYMED_HGLOBAL)) return nullptr;
  for (Entry& entry : m_entries)
    if (entry.format == format->cfFormat) return &entry;
  return nullptr;
}

HRESULT CFileDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  const Entry* entry = Find(format);
  if (!entry) return DV_E_FORMATETC;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, entry->bytes.size());
  void* data = block ? GlobalLock(block) : nullptr;
  if (!data) {
    if (block) GlobalFree(block);
    return E_OUTOFMEMORY;
  }
  std::memcpy(data, entry->bytes.data(), entry->bytes.size());
  GlobalUnlock(block);
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = block;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT CFileDataObject::QueryGetData(FORMATETC* format) { return Find(format) ? S_OK : DV_E_FORMATETC; }

HRESULT CFileDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
  if (!in || !out) return E_INVALIDARG;
  *out = *in;
  out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT CFileDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
  if (!format || !medium) return E_INVALIDARG;
  if (format->dwAspect != DVASPECT_CONTENT || medium->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
  try {
    Store(format->cfFormat, medium->hGlobal);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;  // the caller keeps the medium
  }
  if (release) ReleaseStgMedium(medium);
  return S_OK;
}

HRESULT CFileDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  try {
    std::vector<FORMATETC> formats;
    for (const Entry& entry : m_entries)
      formats.push_back(FORMATETC{CLIPFORMAT(entry.format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    return SHCreateStdEnumFmtEtc(UINT(formats.size()), formats.data(), out);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
