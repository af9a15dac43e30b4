// aboutTYB.exe: the program's about box, started from the options window. It shows the
// icon, the name, the version from this file's own version resource and one line on what
// the program is. OK, Enter and Escape close it.
#include <windows.h>

#include <string>
#include <vector>

#include "companions/about/AboutIds.h"

namespace {
std::string FileVersion() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> data(size ? size : 1);
  void* text = nullptr;
  UINT length = 0;
  if (!size || !GetFileVersionInfoA(path, 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\FileVersion", &text, &length) || !length)
    return "";
  return static_cast<const char*>(text);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, ("Version " + FileVersion()).c_str());
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return int(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, &AboutProc, 0));
}
