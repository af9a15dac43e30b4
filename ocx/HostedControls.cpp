#include "ocx/HostedControls.h"

#include <windows.h>

#include "framework/Handles.h"
#include "ocx/captionbutton/CaptionButton.h"
#include "ocx/monitor/MonitorControl.h"
#include "res/resource.h"

namespace {
// A control whose own implementation is not part of the program yet: a plain panel that
// shows its caption, so templates load and the window reads as what it will be.
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PaintDc paint(window);
  RECT client;
  GetClientRect(window, &client);
  FillRect(paint.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(paint.Get(), &client, EDGE_RAISED, BF_RECT);
  char text[128] = {0};
  GetWindowTextA(window, text, sizeof text);
  SelectObjectScope font(paint.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(GetParent(window), WM_GETFONT, 0, 0)));
  SetBkMode(paint.Get(), TRANSPARENT);
  DrawTextA(paint.Get(), text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  return 0;
}

void RegisterPanel(const char* className) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &PanelProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
}
}  // namespace

void RegisterHostedControls() {
  static bool done = false;
  if (done) return;
  done = true;
  CCaptionButton::Register();
  CMonitorControl::Register();
  for (const char* name : {CLSID_CLASS_MP3, CLSID_CLASS_PLAYLIST, CLSID_CLASS_FILE_VIEW}) RegisterPanel(name);
}
