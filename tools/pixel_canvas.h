// For the tools that read pixels back: a 32-bit top-down bitmap selected
// into a memory DC of its own. Draw into dc() (or BitBlt into it), call
// GdiFlush, then read pixels(), width() values a row.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"

namespace mosaikon {

class PixelCanvas {
 public:
  // `reference` is the DC the canvas is made compatible with (null: the screen).
  PixelCanvas(HDC reference, int width, int height)
      : dc_(CreateCompatibleDC(reference)),
        bitmap_(MakeBitmap(reference, width, height, pixels_)),
        selected_(dc_.get(), bitmap_.get()) {}

  bool ok() const { return dc_ && bitmap_ && pixels_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  const DWORD* pixels() const { return pixels_; }

 private:
  static HBITMAP MakeBitmap(HDC reference, int width, int height, const DWORD*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels = static_cast<const DWORD*>(bits);
    return bitmap;
  }

  const DWORD* pixels_ = nullptr;  // set while bitmap_ is made
  MemoryDC dc_;
  GdiBitmap bitmap_;
  SelectedObject selected_;
};

}  // namespace mosaikon
