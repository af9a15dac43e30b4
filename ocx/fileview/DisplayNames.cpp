#include "ocx/fileview/DisplayNames.h"

#include <shlwapi.h>

#include "framework/Handles.h"
#include "ocx/fileview/WideText.h"

namespace {
const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// The extension of a file name, dot included ("" for none; a name that is only an
// extension, ".profile", has none).
std::wstring ExtensionOf(const std::wstring& name) {
  size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos || dot == 0 ? std::wstring() : name.substr(dot);
}

std::wstring ClassOf(const std::wstring& extension) {
  wchar_t name[MAX_PATH] = L"";
  DWORD size = sizeof name;
  if (RegGetValueW(HKEY_CLASSES_ROOT, extension.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, name, &size) !=
      ERROR_SUCCESS)
    return std::wstring();
  return name;
}

bool HasValue(HKEY root, const std::wstring& key, const wchar_t* value) {
  return RegGetValueW(root, key.c_str(), value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
}  // namespace

// Missing, the setting shows extensions, as the shell under Wine does.
void CDisplayNames::ReadSetting() {
  DWORD hide = 0, size = sizeof hide;
  bool hideKnown = RegGetValueW(HKEY_CURRENT_USER, kAdvanced, L"HideFileExt", RRF_RT_REG_DWORD, nullptr, &hide,
                                &size) == ERROR_SUCCESS &&
                   hide != 0;
  if (hideKnown != m_hideKnown) m_hidden.clear();
  m_hideKnown = hideKnown;
}

bool CDisplayNames::HidesExtension(const std::wstring& extension) {
  if (extension.size() < 2) return false;
  std::wstring key = widetext::UpperKey(extension);
  auto found = m_hidden.find(key);
  if (found != m_hidden.end()) return found->second;
  // Shortcuts never show theirs, whatever the registry of this system says.
  bool hidden = key == L".LNK" || key == L".URL" || key == L".PIF";
  std::wstring type = hidden ? std::wstring() : ClassOf(extension);
  if (!type.empty()) hidden = m_hideKnown || HasValue(HKEY_CLASSES_ROOT, type, L"NeverShowExt");
  m_hidden[key] = hidden;
  return hidden;
}

std::wstring CDisplayNames::LabelOf(const std::wstring& name, bool isFolder) {
  if (isFolder) return name;
  std::wstring extension = ExtensionOf(name);
  return HidesExtension(extension) ? name.substr(0, name.size() - extension.size()) : name;
}

std::wstring CDisplayNames::NameForLabel(const std::wstring& label, const std::wstring& oldName, bool isFolder) {
  if (isFolder) return label;
  std::wstring extension = ExtensionOf(oldName);
  return HidesExtension(extension) ? label + extension : label;
}
