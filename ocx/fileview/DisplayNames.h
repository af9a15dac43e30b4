// CDisplayNames: the names items show, as the desktop's file manager shows them. Shortcuts
// and the types marked "NeverShowExt" never show their extension; other known types (those
// with a class registered) hide it when the user's Explorer setting "HideFileExt" says so.
// Folders and unknown types show their whole name.
#pragma once

#include <windows.h>

#include <map>
#include <string>

class CDisplayNames {
 public:
  // Reads the user's setting again (the view does so on each listing).
  void ReadSetting();
  // The label of an item named `name` on disk.
  std::wstring LabelOf(const std::wstring& name, bool isFolder);
  // The name on disk for a label typed over the item named `oldName`: an extension the label
  // did not show is kept.
  std::wstring NameForLabel(const std::wstring& label, const std::wstring& oldName, bool isFolder);

 private:
  bool HidesExtension(const std::wstring& extension);

  bool m_hideKnown = false;
  std::map<std::wstring, bool> m_hidden;  // per extension in upper case, as first looked up
};
