// The reference for the click that opens a category window: a bare window with one button
// (id 1046, as the bar's Office button), whose click makes a pop-up window of the selector's
// size holding a plain list view of the folder's items with the shell's own icons.
// Usage: selector_reference <folder>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {
const int kButtonId = 1046;
std::string g_folder;

void FillList(HWND list) {
  SHFILEINFOA info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
  ListView_SetImageList(list, images, LVSIL_NORMAL);
  WIN32_FIND_DATAA found;
  HANDLE listing = FindFirstFileA((g_folder + "\\*").c_str(), &found);
  if (listing == INVALID_HANDLE_VALUE) return;
  int index = 0;
  do {
    if (found.cFileName[0] == '.') continue;
    std::string path = g_folder + "\\" + found.cFileName;
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index++;
    item.pszText = found.cFileName;
    item.iImage = info.iIcon;
    ListView_InsertItem(list, &item);
  } while (FindNextFileA(listing, &found));
  FindClose(listing);
}

void OpenListWindow(HWND owner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND popup = CreateWindowExA(0, "SelectorReferencePopup", "Office", WS_POPUP | WS_CAPTION | WS_SYSMENU, 82, 90,
                               248, 322, owner, nullptr, instance, nullptr);
  RECT client;
  GetClientRect(popup, &client);
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE, 0, 0,
                              client.right, client.bottom, popup, nullptr, instance, nullptr);
  FillList(list);
  ShowWindow(popup, SW_SHOWNORMAL);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kButtonId) OpenListWindow(window);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClass(const char* name, WNDPROC proc) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  g_folder = commandLine;
  if (g_folder.size() > 1 && g_folder.front() == '"') g_folder = g_folder.substr(1, g_folder.size() - 2);
  CoInitialize(nullptr);
  InitCommonControls();
  RegisterClass("SelectorReferenceMain", &MainProc);
  RegisterClass("SelectorReferencePopup", &DefWindowProcA);
  HWND main = CreateWindowExA(0, "SelectorReferenceMain", "reference", WS_POPUP | WS_VISIBLE | WS_BORDER, 18, 1, 988,
                              86, nullptr, nullptr, instance, nullptr);
  CreateWindowExA(0, "BUTTON", "Office", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 600, 8, 60, 24, main,
                  reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  CoUninitialize();
  return 0;
}
