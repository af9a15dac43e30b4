#include "ocx/fileview/InfoTip.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "framework/Handles.h"
#include "ocx/fileview/FolderListing.h"
#include "ocx/fileview/IconSource.h"
#include "ocx/fileview/ShellMenu.h"

namespace infotip {
namespace {
std::wstring FromShell(const std::wstring& folder, const std::wstring& name) {
  ComPtr<IShellFolder> parent = BindShellFolder(folder);
  std::wstring nameText = name;
  ITEMIDLIST* parsed = nullptr;
  if (!parent || FAILED(parent->ParseDisplayName(nullptr, nullptr, &nameText[0], nullptr, &parsed, nullptr)))
    return std::wstring();
  PidlHandle child(parsed);
  ComPtr<IQueryInfo> info;
  LPCITEMIDLIST children[] = {child.Get()};
  if (FAILED(parent->GetUIObjectOf(nullptr, 1, children, IID_IQueryInfo, nullptr,
                                   reinterpret_cast<void**>(info.Receive()))))
    return std::wstring();
  wchar_t* tip = nullptr;
  if (FAILED(info->GetInfoTip(QITIPF_DEFAULT, &tip)) || !tip) return std::wstring();
  std::wstring text = tip;
  CoTaskMemFree(tip);
  return text;
}

void AddLine(std::wstring* text, const wchar_t* label, const std::wstring& value) {
  if (value.empty()) return;
  if (!text->empty()) *text += L"\r\n";
  *text += label + value;
}

void AddShortcut(std::wstring* text, const std::wstring& path) {
  ComPtr<IShellLinkW> shortcut;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(shortcut.Receive()))) ||
      FAILED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
      FAILED(file->Load(path.c_str(), STGM_READ)))
    return;
  wchar_t target[MAX_PATH] = L"", comment[INFOTIPSIZE] = L"";
  if (shortcut->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) target[0] = L'\0';
  if (FAILED(shortcut->GetDescription(comment, INFOTIPSIZE))) comment[0] = L'\0';
  AddLine(text, L"Location: ", target);
  AddLine(text, L"Comment: ", comment);
}

std::wstring Gathered(const std::wstring& path, bool isFolder) {
  std::wstring text;
  if (StrCmpIW(PathFindExtensionW(path.c_str()), L".lnk") == 0) AddShortcut(&text, path);
  SHFILEINFOW type{};
  if (SHGetFileInfoW(path.c_str(), 0, &type, sizeof type, SHGFI_TYPENAME)) AddLine(&text, L"Type: ", type.szTypeName);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return text;
  wchar_t size[64] = L"";
  if (!isFolder && StrFormatByteSizeW(LONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow, size, 64))
    AddLine(&text, L"Size: ", size);
  FILETIME local;
  SYSTEMTIME when;
  wchar_t day[64] = L"", time[64] = L"";
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &when) &&
      GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, day, 64) &&
      GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &when, nullptr, time, 64))
    AddLine(&text, L"Date modified: ", std::wstring(day) + L" " + time);
  return text;
}
}  // namespace

std::wstring For(const std::wstring& folder, const std::wstring& name, bool isFolder) {
  std::wstring tip = FromShell(folder, name);
  return tip.empty() ? Gathered(JoinPath(folder, name), isFolder) : tip;
}

}  // namespace infotip
