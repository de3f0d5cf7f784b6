// A top-down device-independent bitmap selected into a memory DC of its own:
// draw into dc() (or BitBlt into it), call GdiFlush, then read bits(), rows
// of `width` pixels each padded to a multiple of four bytes.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"

namespace mosaikon {

class DibCanvas {
 public:
  // `bitsPerPixel` is 24 or 32; `reference` is the DC the canvas is made
  // compatible with (null: the screen).
  DibCanvas(int width, int height, WORD bitsPerPixel, HDC reference = nullptr)
      : dc_(CreateCompatibleDC(reference)),
        bitmap_(MakeBitmap(reference, width, height, bitsPerPixel, bits_)),
        selected_(dc_.get(), bitmap_.get()) {}

  bool ok() const { return dc_ && bitmap_ && bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  void* bits() const { return bits_; }

 private:
  static HBITMAP MakeBitmap(HDC reference, int width, int height, WORD bitsPerPixel, void*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  }

  void* bits_ = nullptr;  // set while bitmap_ is made
  MemoryDC dc_;
  GdiBitmap bitmap_;
  SelectedObject selected_;
};

}  // namespace mosaikon
