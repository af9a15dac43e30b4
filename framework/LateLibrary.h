// Functions of system libraries the program needs only when the user asks for something
// (the Open dialog, ...), found the first time they are called instead of imported, so
// start-up neither loads those libraries nor all that they pull in. A library once loaded
// stays for the process.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace late {
// `name` in `library`, loading the library if the process has not yet; nullptr when either
// is missing.
FARPROC Function(const char* library, const char* name);

template <class Fn> Fn Function(const char* library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(Function(library, name)));
}

// The system's Open dialog. False when the user cancels, and when the dialog cannot be had.
bool ShowOpenDialog(OPENFILENAMEW& dialog);
}  // namespace late
