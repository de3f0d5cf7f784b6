// Toolbar resources (RT_TOOLBAR): the image size and the button ids in
// order, 0 standing for a separator; and the image strip that goes with them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <vector>

#include "common/win32/handles.h"

namespace mosaikon {

struct ImageListTraits {
  using Pointer = HIMAGELIST;
  static Pointer Invalid() { return nullptr; }
  static void Close(Pointer value) { ImageList_Destroy(value); }
};
using ImageList = UniqueHandle<ImageListTraits>;

struct ToolbarResource {
  int imageWidth = 0;
  int imageHeight = 0;
  std::vector<UINT> ids;  // 0: a separator, which takes no image
};

std::optional<ToolbarResource> LoadToolbarResource(HINSTANCE module, UINT id);

// The image strip `bitmapId` cut into images of the given size; the light
// grey of classic toolbar bitmaps is the transparent colour.
ImageList LoadToolbarImages(HINSTANCE module, UINT bitmapId, int imageWidth);

// A flat toolbar with tooltips, no divider and no positioning of its own,
// holding the buttons of toolbar resource `id` with the images of bitmap
// `id`. The toolbar only borrows the image list, which must outlive it.
HWND CreateToolbarFromResource(HWND parent, HINSTANCE module, UINT id, UINT controlId, ImageList& images);

}  // namespace mosaikon
