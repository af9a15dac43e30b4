#include "ocx/fileview/FileDropList.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "ocx/fileview/WideText.h"

namespace filedrop {
namespace {
// A global block locked for as long as the object lives.
class Locked {
 public:
  explicit Locked(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
  ~Locked() {
    if (m_data) GlobalUnlock(m_block);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  void* Data() const { return m_data; }
  SIZE_T Size() const { return m_data ? GlobalSize(m_block) : 0; }

 private:
  HGLOBAL m_block;
  void* m_data;
};

// Walks the list of zero-terminated names that ends with an empty one, staying inside
// `end` even when the block is malformed.
template <class Char, class Take> void ForEachName(const Char* first, const Char* end, Take take) {
  for (const Char* name = first; name < end && *name;) {
    const Char* stop = name;
    while (stop < end && *stop) ++stop;
    if (stop == end) return;  // no terminator: not a name
    take(std::basic_string<Char>(name, stop));
    name = stop + 1;
  }
}

HGLOBAL GetGlobal(IDataObject* data, UINT format, STGMEDIUM* medium) {
  FORMATETC wanted{CLIPFORMAT(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  if (!data || FAILED(data->GetData(&wanted, medium))) return nullptr;
  if (medium->tymed == TYMED_HGLOBAL) return medium->hGlobal;
  ReleaseStgMedium(medium);
  return nullptr;
}
}  // namespace

UINT PreferredEffectFormat() {
  static const UINT format = RegisterClipboardFormatA("Preferred DropEffect");
  return format;
}

UINT PerformedEffectFormat() {
  static const UINT format = RegisterClipboardFormatA("Performed DropEffect");
  return format;
}

UINT LogicalPerformedEffectFormat() {
  static const UINT format = RegisterClipboardFormatA("Logical Performed DropEffect");
  return format;
}

HGLOBAL MakeDropFiles(const std::vector<std::wstring>& paths) {
  SIZE_T size = sizeof(DROPFILES) + sizeof(wchar_t);
  for (const std::wstring& path : paths) size += (path.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  Locked locked(block);
  if (!locked.Data()) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  auto* header = static_cast<DROPFILES*>(locked.Data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* next = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& path : paths) {
    std::memcpy(next, path.c_str(), path.size() * sizeof(wchar_t));
    next += path.size() + 1;  // the block was zeroed: terminators are in place
  }
  return block;
}

std::vector<std::wstring> ReadDropFiles(HGLOBAL drop) {
  std::vector<std::wstring> paths;
  Locked locked(drop);
  if (locked.Size() < sizeof(DROPFILES)) return paths;
  const auto* header = static_cast<const DROPFILES*>(locked.Data());
  if (header->pFiles < sizeof(DROPFILES) || header->pFiles >= locked.Size()) return paths;
  const char* begin = static_cast<const char*>(locked.Data()) + header->pFiles;
  const char* end = static_cast<const char*>(locked.Data()) + locked.Size();
  if (header->fWide) {
    const auto* wide = reinterpret_cast<const wchar_t*>(begin);
    ForEachName(wide, wide + (end - begin) / sizeof(wchar_t), [&](const std::wstring& name) { paths.push_back(name); });
  } else {
    ForEachName(begin, end, [&](const std::string& name) { paths.push_back(widetext::FromAnsi(name.c_str())); });
  }
  return paths;
}

HGLOBAL MakeEffect(DWORD effect) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
  Locked locked(block);
  if (!locked.Data()) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  *static_cast<DWORD*>(locked.Data()) = effect;
  return block;
}

DWORD ReadEffect(HGLOBAL block, DWORD fallback) {
  Locked locked(block);
  if (locked.Size() < sizeof(DWORD)) return fallback;
  return *static_cast<const DWORD*>(locked.Data());
}

std::vector<std::wstring> FilesFrom(IDataObject* data) {
  STGMEDIUM medium{};
  HGLOBAL drop = GetGlobal(data, CF_HDROP, &medium);
  if (!drop) return {};
  std::vector<std::wstring> paths = ReadDropFiles(drop);
  ReleaseStgMedium(&medium);
  return paths;
}

DWORD EffectFrom(IDataObject* data, UINT format, DWORD fallback) {
  STGMEDIUM medium{};
  HGLOBAL block = GetGlobal(data, format, &medium);
  if (!block) return fallback;
  DWORD effect = ReadEffect(block, fallback);
  ReleaseStgMedium(&medium);
  return effect;
}

bool SetEffect(IDataObject* data, UINT format, DWORD effect) {
  FORMATETC wanted{CLIPFORMAT(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = MakeEffect(effect);
  if (!data || !medium.hGlobal) return false;
  if (SUCCEEDED(data->SetData(&wanted, &medium, TRUE))) return true;
  GlobalFree(medium.hGlobal);
  return false;
}

bool HasFiles(IDataObject* data) {
  FORMATETC wanted{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data && data->QueryGetData(&wanted) == S_OK;
}

}  // namespace filedrop
