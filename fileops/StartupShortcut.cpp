#include "fileops/StartupShortcut.h"

#include <shlobj.h>

#include "fileops/CopyNames.h"
#include "fileops/FileOpsEngine.h"
#include "framework/Trace.h"

const char kStartupShortcutSource[] = "c:\\tyb\\Shortcuttotyb.exe.lnk";

namespace {
// Where Windows XP and older keep it; newer systems answer through the shell.
const char kOldStartupFolder[] = "c:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup";

// A failed step leaves the engine's error code as the thread's last error, so that the
// caller's trace says why.
BOOL Finished(const CFileOpsEngine& engine, BOOL done) {
  if (!done) SetLastError(engine.GetErrorCode());
  return done;
}
}  // namespace

CString CommonStartupFolder() {
  char folder[MAX_PATH] = {0};
  if (SUCCEEDED(TRACE_IF_FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) &&
      folder[0])
    return folder;
  return kOldStartupFolder;
}

BOOL ApplyStartupShortcut(int loadStartup) {
  return ApplyStartupShortcut(loadStartup, kStartupShortcutSource, CommonStartupFolder());
}

BOOL ApplyStartupShortcut(int loadStartup, const CString& sourceShortcut, const CString& startupFolder) {
  if (loadStartup == 1) {
    CFileOpsEngine engine;
    engine.SetOverwrite(true);
    return Finished(engine, engine.Copy(sourceShortcut, startupFolder));
  }
  if (loadStartup == 0) {
    copynames::PathParts parts = copynames::SplitPath(sourceShortcut.GetString());
    CString installed = copynames::WithoutTrailingSeparators(startupFolder.GetString()).c_str();
    installed += CString("\\") + (parts.name + parts.extension).c_str();
    DWORD attributes = GetFileAttributesA(installed);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return FALSE;  // not our shortcut but someone's folder: left alone
    CFileOpsEngine engine;
    return Finished(engine, engine.Delete(installed));
  }
  return TRUE;
}
