// Helpers for tests that drive real windows under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/CString.h"

namespace testkit {

// Runs the thread's message loop for about `ms` milliseconds.
void Pump(DWORD ms);
// Runs the message loop until `done` is true or `timeoutMs` passes; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Answers message boxes that appear while it lives: presses `button` (IDYES, IDNO, ...)
// in each box and records each box's text and caption.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(int button);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
  struct Box {
    std::string text;
    std::string caption;
  };
  const std::vector<Box>& Boxes() const { return m_boxes; }
  void SetButton(int button) { m_button = button; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Answer(HWND window, UINT, UINT_PTR, DWORD);
  HHOOK m_hook;
  int m_button;
  std::vector<Box> m_boxes;
};

// Answers the next (Unicode) open-file dialog of this thread: notes the folder it starts in, then
// opens `file` (a name in any characters), or cancels when `file` is empty.
class OpenDialogAnswerer {
 public:
  explicit OpenDialogAnswerer(std::wstring file);
  ~OpenDialogAnswerer();
  OpenDialogAnswerer(const OpenDialogAnswerer&) = delete;
  OpenDialogAnswerer& operator=(const OpenDialogAnswerer&) = delete;
  std::string startFolder;
  bool answered = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK Visit(HWND window, LPARAM);
  static OpenDialogAnswerer* s_self;
  std::wstring m_file;
  UINT_PTR m_timer;
};

// Collects what the framework would report in a message box, for the test's lifetime.
class ReportRecorder {
 public:
  ReportRecorder();
  ~ReportRecorder();
  std::vector<std::string> reports;
};

// A registry key under HKEY_CURRENT_USER\Software that is deleted before and after a test.
class ScratchKey {
 public:
  explicit ScratchKey(const char* pathUnderSoftware);
  ~ScratchKey();
  void Wipe() const;
  std::string path;  // "Software\\..."
};

// Reads a value's type and bytes straight from the registry; false when absent.
bool RawValue(const char* keyPath, const char* name, DWORD* type, std::vector<BYTE>* bytes);

// Pixel of a device context as 0x00BBGGRR.
COLORREF Pixel(HDC dc, int x, int y);

// A 32-bit picture in memory to draw on and read back, filled with `fill` at the start.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC Dc() const { return m_dc; }
  COLORREF At(int x, int y) const;
  int Count(COLORREF colour) const;
  int Leftmost(COLORREF colour) const;  // leftmost column holding the colour, or -1
  const int width, height;

 private:
  DWORD* m_bits = nullptr;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
};

// Live GDI objects of this process. Wine answers GetGuiResources with 0, so there the count
// is read as the room left in the handle table: objects are made until no more can be.
DWORD GdiObjects();

// A scratch folder under the temporary folder, removed with everything in it at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const char* name);
  ~ScratchDir();
  std::string path;  // without a trailing backslash
  std::string operator/(const std::string& child) const { return path + "\\" + child; }
};
// Makes `folder` the current one while it lives, and then the one before again.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) {
    GetCurrentDirectoryA(MAX_PATH, m_previous);
    m_entered = SetCurrentDirectoryA(folder.c_str()) != FALSE;
  }
  ~CurrentFolder() { SetCurrentDirectoryA(m_previous); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;
  bool Entered() const { return m_entered; }

 private:
  char m_previous[MAX_PATH] = {};
  bool m_entered;
};

void WriteTextFile(const std::string& path, const std::string& content);
// The same for a name in any characters.
void WriteTextFile(const std::wstring& path, const std::string& content);
// Deletes a file or a folder with everything in it; nothing when it is not there.
void RemoveTree(const std::string& path);
std::string ReadTextFile(const std::string& path);

}  // namespace testkit
