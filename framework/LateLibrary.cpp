#include "framework/LateLibrary.h"

FARPROC late::Function(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

// comdlg32 brings the print spooler and, under Wine, its printing and security libraries.
bool late::ShowOpenDialog(OPENFILENAMEW& dialog) {
  static const auto open = Function<decltype(&GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
  return open && open(&dialog);
}
