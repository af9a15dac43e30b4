// The shortcut in the all-users Startup folder that starts Tidybar when a user logs on.
// The bar installs or removes it at start-up from the "loadstartup" setting.
#pragma once

#include <windows.h>

#include "framework/CString.h"

// The shortcut the installer puts beside the program; it is what gets copied.
extern const char kStartupShortcutSource[];

// The all-users Startup folder as the shell knows it; the old fixed path only when the
// shell has none.
CString CommonStartupFolder();

// loadStartup 1: copy the shortcut into the Startup folder, replacing an installed copy.
// 0: delete the installed copy (a read-only one makes the user confirm). Any other value:
// nothing. The result is the file operation's; a missing shortcut on removal is FALSE. A
// failed operation leaves its error code as the thread's last error.
BOOL ApplyStartupShortcut(int loadStartup);
BOOL ApplyStartupShortcut(int loadStartup, const CString& sourceShortcut, const CString& startupFolder);
