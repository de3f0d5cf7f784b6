// Move-only owners for Win32 handles and GDI objects, one template with a
// traits struct per kind, plus scope guards for the calls that come in pairs
// (device contexts, selected objects, the clipboard, COM). Nothing in the
// program frees a handle or closes a pair by hand.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <utility>

namespace mosaikon {

template <typename Traits>
class UniqueHandle {
 public:
  using Pointer = typename Traits::Pointer;

  UniqueHandle() = default;
  explicit UniqueHandle(Pointer value) noexcept : value_(value) {}
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Pointer get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }
  Pointer Release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  // Closes the handle held unless it is `value` itself, which is kept.
  void Reset(Pointer value = Traits::Invalid()) noexcept {
    if (value_ == value) return;
    if (value_ != Traits::Invalid()) Traits::Close(value_);
    value_ = value;
  }

 private:
  Pointer value_ = Traits::Invalid();
};

template <typename T>
struct GdiObjectTraits {
  using Pointer = T;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { DeleteObject(value); }
};

struct KernelHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { CloseHandle(value); }
};

struct FileHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Pointer value) noexcept { CloseHandle(value); }
};

struct FindHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Pointer value) noexcept { FindClose(value); }
};

struct LocalMemoryTraits {
  using Pointer = HLOCAL;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { LocalFree(value); }
};

struct GlobalMemoryTraits {
  using Pointer = HGLOBAL;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { GlobalFree(value); }
};

struct MenuTraits {
  using Pointer = HMENU;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { DestroyMenu(value); }
};

struct MemoryDCTraits {
  using Pointer = HDC;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { DeleteDC(value); }
};

struct HookTraits {
  using Pointer = HHOOK;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { UnhookWindowsHookEx(value); }
};

struct ModuleTraits {
  using Pointer = HMODULE;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer value) noexcept { FreeLibrary(value); }
};

using GdiFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using GdiPen = UniqueHandle<GdiObjectTraits<HPEN>>;
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;      // CreateFileA
using FindHandle = UniqueHandle<FindHandleTraits>;      // FindFirstFileA
using LocalMemory = UniqueHandle<LocalMemoryTraits>;    // blocks the system allocates for us
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;  // GlobalAlloc, until handed to the clipboard
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

// OpenClipboard/CloseClipboard; the clipboard is another program's while
// it is open, so keep the scope short.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// CoInitialize/CoUninitialize for the calling thread. A failed CoInitialize
// is not paired (S_FALSE, "already initialised", still is).
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace mosaikon
