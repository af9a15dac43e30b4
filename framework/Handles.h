// Owners for Win32 handles, device-context selections and COM pointers, so every one of
// them is released on every path out of a function.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

// A handle with a closing function. Kinds whose "none" is INVALID_HANDLE_VALUE say so.
template <class H, auto Close, bool MinusOneIsNone = false> class UniqueHandle {
  static H Invalid() { return MinusOneIsNone ? reinterpret_cast<H>(INVALID_HANDLE_VALUE) : H(); }

 public:
  UniqueHandle() : m_handle(Invalid()) {}
  explicit UniqueHandle(H handle) : m_handle(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  H Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Invalid() && m_handle != H(); }
  H Release() { return std::exchange(m_handle, Invalid()); }
  void Reset() { Reset(Invalid()); }
  void Reset(H handle) {
    if (*this) Close(m_handle);
    m_handle = handle;
  }

 private:
  H m_handle;
};

namespace handles {
inline void CloseFile(HANDLE h) { CloseHandle(h); }
inline void CloseFind(HANDLE h) { FindClose(h); }
inline void CloseChangeNotification(HANDLE h) { FindCloseChangeNotification(h); }
inline void CloseKey(HKEY h) { RegCloseKey(h); }
template <class H> inline void DeleteGdi(H h) { DeleteObject(h); }
inline void DeleteMemoryDc(HDC h) { DeleteDC(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void DestroyWnd(HWND h) { DestroyWindow(h); }
inline void UnloadModule(HMODULE h) { FreeLibrary(h); }
}  // namespace handles

using FileHandle = UniqueHandle<HANDLE, handles::CloseFile, true>;
using FindHandle = UniqueHandle<HANDLE, handles::CloseFind, true>;
using ChangeNotificationHandle = UniqueHandle<HANDLE, handles::CloseChangeNotification, true>;
using KeyHandle = UniqueHandle<HKEY, handles::CloseKey>;
// GDI objects, each owner typed as its kind so that no use site casts.
template <class H> using GdiHandle = UniqueHandle<H, handles::DeleteGdi<H>>;
using BrushHandle = GdiHandle<HBRUSH>;
using BitmapHandle = GdiHandle<HBITMAP>;
using FontHandle = GdiHandle<HFONT>;
using PenHandle = GdiHandle<HPEN>;

// A bitmap resource of this program as a DIB section; empty when there is none.
inline BitmapHandle LoadBitmapResource(UINT id) {
  return BitmapHandle(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}
using MemoryDc = UniqueHandle<HDC, handles::DeleteMemoryDc>;
using IconHandle = UniqueHandle<HICON, handles::DestroyIconHandle>;
using MenuHandle = UniqueHandle<HMENU, handles::DestroyMenuHandle>;
using WindowHandle = UniqueHandle<HWND, handles::DestroyWnd>;
using ModuleHandle = UniqueHandle<HMODULE, handles::UnloadModule>;

// A window's device context, released when the owner goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
  ~WindowDc() {
    if (m_dc) ReleaseDC(m_window, m_dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// BeginPaint/EndPaint as one object.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
  ~PaintDc() { EndPaint(m_window, &m_paint); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return m_paint.hdc; }
  const PAINTSTRUCT& Info() const { return m_paint; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
};

// Saves a device context's state (colours, background mode, selected objects, clipping)
// and puts it back on the way out, for drawing into a context that belongs to someone else.
class DcStateScope {
 public:
  explicit DcStateScope(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
  ~DcStateScope() {
    if (m_saved) RestoreDC(m_dc, m_saved);
  }
  DcStateScope(const DcStateScope&) = delete;
  DcStateScope& operator=(const DcStateScope&) = delete;

 private:
  HDC m_dc;
  int m_saved;
};

// Selects a GDI object into a device context and puts the previous one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectObjectScope() {
    if (m_previous) SelectObject(m_dc, m_previous);
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A memory device context like `like`, with `bitmap` selected into it while it lives.
class BitmapDc {
 public:
  BitmapDc(HDC like, HBITMAP bitmap) : m_dc(CreateCompatibleDC(like)), m_select(m_dc.Get(), bitmap) {}
  HDC Get() const { return m_dc.Get(); }

 private:
  MemoryDc m_dc;
  SelectObjectScope m_select;
};

// COM (apartment-threaded) on this thread while the scope lives, balanced on the way out when
// it was started.
class ComScope {
 public:
  ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(m_result)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  HRESULT Result() const { return m_result; }

 private:
  HRESULT m_result;
};

// A counted COM pointer.
template <class T> class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p, bool addRef) : m_p(p) {
    if (m_p && addRef) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p, true) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~ComPtr() {
    if (m_p) m_p->Release();
  }
  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  // For out-parameters of COM calls: releases what is held and gives the slot.
  T** Receive() {
    *this = ComPtr();
    return &m_p;
  }

 private:
  T* m_p = nullptr;
};
