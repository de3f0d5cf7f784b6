// Move-only owners for Win32 handles and GDI objects, one template with a
// traits struct per kind, plus scope guards for device contexts and selected
// objects. Nothing in the program frees a handle by hand.
#pragma once

#include <windows.h>

#include <utility>

namespace mosaikon {

template <typename Traits>
class UniqueHandle {
 public:
  using Pointer = typename Traits::Pointer;

  UniqueHandle() = default;
  explicit UniqueHandle(Pointer value) : value_(value) {}
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Pointer get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }
  Pointer Release() { return std::exchange(value_, Traits::Invalid()); }
  void Reset(Pointer value = Traits::Invalid()) {
    if (value_ != Traits::Invalid()) Traits::Close(value_);
    value_ = value;
  }

 private:
  Pointer value_ = Traits::Invalid();
};

template <typename T>
struct GdiObjectTraits {
  using Pointer = T;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { DeleteObject(value); }
};

struct KernelHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { CloseHandle(value); }
};

struct FileHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Pointer value) { CloseHandle(value); }
};

struct MenuTraits {
  using Pointer = HMENU;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { DestroyMenu(value); }
};

struct MemoryDCTraits {
  using Pointer = HDC;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { DeleteDC(value); }
};

struct HookTraits {
  using Pointer = HHOOK;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { UnhookWindowsHookEx(value); }
};

struct ModuleTraits {
  using Pointer = HMODULE;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { FreeLibrary(value); }
};

using GdiFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using GdiPen = UniqueHandle<GdiObjectTraits<HPEN>>;
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;  // CreateCompatibleDC
using HookHandle = UniqueHandle<HookTraits>;

// GetDC/ReleaseDC for the life of a scope.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint/EndPaint for the life of a scope.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
  ~PaintDC() { EndPaint(hwnd_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// SelectObject, restoring the previous object when the scope ends.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace mosaikon
