// A bare modal dialog: what any dialog program costs to start and to keep idle.
#include <windows.h>

namespace {
INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(window, 0);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return int(DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, &Proc, 0));
}
