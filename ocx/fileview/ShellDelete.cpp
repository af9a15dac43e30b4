#include "ocx/fileview/ShellDelete.h"

#include <shellapi.h>

namespace shelldelete {

Outcome Delete(HWND owner, const std::vector<std::wstring>& paths, Mode mode, bool ask) {
  Outcome outcome;
  if (paths.empty()) return outcome;
  std::wstring list;  // names one after another, each ended by a zero, and one more zero
  for (const std::wstring& path : paths) list += path + L'\0';
  list += L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = owner;
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  // An item the Recycle Bin does not take is asked about, never deleted for good unseen.
  operation.fFlags = mode == Mode::kRecycle ? FOF_ALLOWUNDO | FOF_WANTNUKEWARNING : 0;
  if (!ask) operation.fFlags |= FOF_NOCONFIRMATION;
  outcome.error = SHFileOperationW(&operation);
  outcome.aborted = operation.fAnyOperationsAborted != FALSE;
  return outcome;
}

}  // namespace shelldelete
