// What the benches read from outside a program: its windows, and the X server's pixels of a
// window as a digest, so that a bench can tell when a window has stopped changing.
#pragma once

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace bench {

struct WindowSearch {
  DWORD pid;
  const std::set<HWND>* skip;
  HWND found;
};

inline BOOL CALLBACK VisibleWindowOf(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  if (search->skip && search->skip->count(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible top-level window of the process, other than those in `skip`.
inline HWND ShownWindow(DWORD pid, const std::set<HWND>* skip = nullptr) {
  WindowSearch search{pid, skip, nullptr};
  EnumWindows(&VisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline BOOL CALLBACK CollectWindowOf(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<std::pair<DWORD, std::set<HWND>*>*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->first && IsWindowVisible(window)) search->second->insert(window);
  return TRUE;
}

inline std::set<HWND> ShownWindows(DWORD pid) {
  std::set<HWND> windows;
  std::pair<DWORD, std::set<HWND>*> search{pid, &windows};
  EnumWindows(&CollectWindowOf, reinterpret_cast<LPARAM>(&search));
  return windows;
}

// A digest of what the X server shows of `window` now, its place included; the parts in
// `masks` (screen rectangles) do not count.
inline unsigned long long ScreenDigest(HWND window, const std::vector<RECT>& masks = {}) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return 0;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  unsigned long long digest = 1469598103934665603ull;
  auto mix = [&digest](unsigned value) { digest = (digest ^ value) * 1099511628211ull; };
  mix(unsigned(rect.left)), mix(unsigned(rect.top)), mix(unsigned(width)), mix(unsigned(height));
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    unsigned* pixel = static_cast<unsigned*>(bits);
    for (const RECT& mask : masks)
      for (int y = std::max(mask.top, rect.top); y < std::min(mask.bottom, rect.bottom); ++y)
        for (int x = std::max(mask.left, rect.left); x < std::min(mask.right, rect.right); ++x)
          pixel[(y - rect.top) * width + (x - rect.left)] = 0;
    for (int i = 0; i < width * height; ++i) mix(pixel[i]);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return digest;
}

// Starts `program` with `argument`, in the program's own folder, as the installed bar starts.
inline bool StartProcess(const std::string& program, const std::string& argument, PROCESS_INFORMATION& process) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string commandLine = "\"" + program + "\"" + (argument.empty() ? "" : " " + argument);
  std::string folder = program.substr(0, program.find_last_of("\\/"));
  return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &process) != FALSE;
}

// Waits a little for a program asked to close, ends it if it did not, and lets go of it.
inline void EndProcess(PROCESS_INFORMATION& process) {
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

struct RectSearch {
  const std::vector<int>* ids;
  std::vector<RECT>* rects;
};

inline BOOL CALLBACK CollectChildRect(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<RectSearch*>(lParam);
  RECT rect;
  for (int id : *search->ids)
    if (GetDlgCtrlID(window) == id && GetWindowRect(window, &rect)) search->rects->push_back(rect);
  return TRUE;
}

// The screen rectangles of the children of `window` with one of the `ids`.
inline std::vector<RECT> ChildRects(HWND window, const std::vector<int>& ids) {
  std::vector<RECT> rects;
  RectSearch search{&ids, &rects};
  EnumChildWindows(window, &CollectChildRect, reinterpret_cast<LPARAM>(&search));
  return rects;
}

}  // namespace bench
