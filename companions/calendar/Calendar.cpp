// tybCal.exe: the bar's calendar. A resizable window holding the common controls' month
// calendar with week numbers and today marked; it shows more months as it grows. PageUp and
// PageDown browse months, Home comes back to today, Escape closes. The window's place is
// remembered per user, and a second start brings the running calendar to the front.
#include <windows.h>
#include <commctrl.h>

namespace {
const char kClassName[] = "Tidybar.Calendar";
const char kPlaceKey[] = "Software\\Farrowind\\tybCal";
HWND g_calendar = nullptr;

void SavePlace(HWND window) {
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  if (!GetWindowPlacement(window, &place)) return;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kPlaceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)) return;
  RegSetValueExA(key, "Place", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&place.rcNormalPosition),
                 sizeof place.rcNormalPosition);
  RegCloseKey(key);
}

// The remembered place when it is there and still on a screen, else a default one.
RECT LoadPlace() {
  RECT place{120, 120, 120 + 480, 120 + 300};
  RECT stored{};
  DWORD size = sizeof stored;
  if (RegGetValueA(HKEY_CURRENT_USER, kPlaceKey, "Place", RRF_RT_REG_BINARY, nullptr, &stored, &size) ==
          ERROR_SUCCESS &&
      size == sizeof stored && stored.right - stored.left >= 100 && stored.bottom - stored.top >= 100 &&
      MonitorFromRect(&stored, MONITOR_DEFAULTTONULL))
    place = stored;
  return place;
}

void ShowToday() {
  SYSTEMTIME today;
  GetLocalTime(&today);
  SendMessageA(g_calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&today));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_calendar = CreateWindowExA(0, MONTHCAL_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | MCS_WEEKNUMBERS, 0, 0,
                                   0, 0, window, nullptr, GetModuleHandleA(nullptr), nullptr);
      return g_calendar ? 0 : -1;
    case WM_SIZE:
      MoveWindow(g_calendar, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_calendar);
      return 0;
    case WM_GETMINMAXINFO: {
      RECT least{};
      SendMessageA(g_calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&least));
      AdjustWindowRectEx(&least, WS_OVERLAPPEDWINDOW, FALSE, 0);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {least.right - least.left, least.bottom - least.top};
      return 0;
    }
    case WM_DESTROY:
      SavePlace(window);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Keys the month calendar leaves to its window.
bool HandleKey(HWND window, const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.wParam == VK_ESCAPE) return DestroyWindow(window), true;
  if (msg.wParam == VK_HOME) return ShowToday(), true;
  if (msg.wParam == VK_PRIOR || msg.wParam == VK_NEXT) {
    SYSTEMTIME shown{};
    SendMessageA(g_calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    int month = shown.wYear * 12 + (shown.wMonth - 1) + (msg.wParam == VK_NEXT ? 1 : -1);
    shown.wYear = WORD(month / 12);
    shown.wMonth = WORD(month % 12 + 1);
    shown.wDay = 1;
    SendMessageA(g_calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    return true;
  }
  return false;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  HANDLE running = CreateMutexA(nullptr, FALSE, "Tidybar.Calendar.Running");
  if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (HWND other = FindWindowA(kClassName, nullptr)) {
      if (IsIconic(other)) ShowWindow(other, SW_RESTORE);
      SetForegroundWindow(other);
    }
    return 0;
  }
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_DATE_CLASSES;
  InitCommonControlsEx(&controls);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  RECT place = LoadPlace();
  HWND window =
      CreateWindowExA(0, kClassName, "Tidybar calendar", WS_OVERLAPPEDWINDOW, place.left, place.top,
                      place.right - place.left, place.bottom - place.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (HandleKey(window, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (running) CloseHandle(running);
  return 0;
}
