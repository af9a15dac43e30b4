#include "tests/support/TestKit.h"

#include <commdlg.h>
#include <dlgs.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>

#include "framework/Exceptions.h"

namespace testkit {

void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

namespace {
MessageBoxAnswerer* g_answerer = nullptr;

std::string WindowText(HWND window) {
  char buffer[1024] = {0};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}
}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int button) : m_button(button) {
  g_answerer = this;
  m_hook = SetWindowsHookExA(WH_CBT, &MessageBoxAnswerer::Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  UnhookWindowsHookEx(m_hook);
  g_answerer = nullptr;
}

// When a message box is activated, a zero-delay timer on it presses the button once the
// box runs its own modal loop.
LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_answerer) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char cls[64] = {0};
    GetClassNameA(window, cls, sizeof cls);
    // A message box: a dialog with the box's text control and the button to press.
    bool box = std::string(cls) == "#32770" && GetDlgItem(window, 0xFFFF) && GetDlgItem(window, g_answerer->m_button);
    if (box) SetTimer(window, 0x7E57, 0, &MessageBoxAnswerer::Answer);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK MessageBoxAnswerer::Answer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  if (!g_answerer) return;
  Box box;
  box.caption = WindowText(window);
  box.text = WindowText(GetDlgItem(window, 0xFFFF));  // the message box's text control
  g_answerer->m_boxes.push_back(box);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(g_answerer->m_button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, g_answerer->m_button)));
}

ReportRecorder::ReportRecorder() {
  AfxSetExceptionRecorder([this](const CString& text) { reports.push_back(text.GetString()); });
}

ReportRecorder::~ReportRecorder() { AfxSetExceptionRecorder(nullptr); }

ScratchKey::ScratchKey(const char* pathUnderSoftware) : path(std::string("Software\\") + pathUnderSoftware) { Wipe(); }
ScratchKey::~ScratchKey() { Wipe(); }
void ScratchKey::Wipe() const { SHDeleteKeyA(HKEY_CURRENT_USER, path.c_str()); }

bool RawValue(const char* keyPath, const char* name, DWORD* type, std::vector<BYTE>* bytes) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    bytes->resize(size);
    status = RegQueryValueExA(key, name, nullptr, type, bytes->data(), &size);
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

COLORREF Pixel(HDC dc, int x, int y) { return GetPixel(dc, x, y); }

Canvas::Canvas(int w, int h, COLORREF fill) : width(w), height(h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  m_dc = CreateCompatibleDC(nullptr);
  m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
  m_previous = SelectObject(m_dc, m_bitmap);
  RECT all{0, 0, w, h};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(m_dc, &all, brush);
  DeleteObject(brush);
}

Canvas::~Canvas() {
  SelectObject(m_dc, m_previous);
  DeleteObject(m_bitmap);
  DeleteDC(m_dc);
}

COLORREF Canvas::At(int x, int y) const {
  GdiFlush();
  DWORD p = m_bits[y * width + x];
  return RGB(p >> 16 & 255, p >> 8 & 255, p & 255);
}

int Canvas::Count(COLORREF colour) const {
  int n = 0;
  for (int i = 0; i < width * height; ++i) n += At(i % width, i / width) == colour;
  return n;
}

int Canvas::Leftmost(COLORREF colour) const {
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (At(x, y) == colour) return x;
  return -1;
}

DWORD GdiObjects() {
  if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  const size_t limit = 1 << 17;
  std::vector<HGDIOBJ> made;
  for (HGDIOBJ object; made.size() < limit && (object = CreateRectRgn(0, 0, 0, 0));) made.push_back(object);
  for (HGDIOBJ object : made) DeleteObject(object);
  return DWORD(limit - made.size());
}

ScratchDir::ScratchDir(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  path = std::string(temp) + "tidybar-test-" + name;
  RemoveTree(path);
  CreateDirectoryA(path.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { RemoveTree(path); }

void RemoveTree(const std::string& path) {
  std::string from = path + std::string(1, '\0');  // the list ends in two zeros
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationA(&op);
}

void WriteTextFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

OpenDialogAnswerer* OpenDialogAnswerer::s_self = nullptr;

OpenDialogAnswerer::OpenDialogAnswerer(std::wstring file) : m_file(std::move(file)) {
  s_self = this;
  m_timer = SetTimer(nullptr, 0, 100, &OpenDialogAnswerer::Tick);
}

OpenDialogAnswerer::~OpenDialogAnswerer() {
  KillTimer(nullptr, m_timer);
  s_self = nullptr;
}

void CALLBACK OpenDialogAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!s_self || s_self->answered) return;
  EnumThreadWindows(GetCurrentThreadId(), &OpenDialogAnswerer::Visit, 0);
}

BOOL CALLBACK OpenDialogAnswerer::Visit(HWND window, LPARAM) {
  char name[32] = {0};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  wchar_t folder[MAX_PATH] = {0};
  SendMessageW(window, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  char narrow[MAX_PATH] = {0};
  WideCharToMultiByte(CP_ACP, 0, folder, -1, narrow, MAX_PATH, nullptr, nullptr);
  s_self->startFolder = narrow;
  s_self->answered = true;
  if (s_self->m_file.empty()) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  } else {
    SendMessageW(window, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(s_self->m_file.c_str()));
    SendMessageW(window, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(s_self->m_file.c_str()));
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return FALSE;
}

void WriteTextFile(const std::wstring& path, const std::string& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

}  // namespace testkit
