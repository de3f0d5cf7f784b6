// Toolbar resources (RT_TOOLBAR): the image size and the button ids in
// order, 0 standing for a separator; and the image strip that goes with them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <vector>

namespace mosaikon {

struct ToolbarResource {
  int imageWidth = 0;
  int imageHeight = 0;
  std::vector<UINT> ids;  // 0: a separator, which takes no image
};

std::optional<ToolbarResource> LoadToolbarResource(HINSTANCE module, UINT id);

// The image strip `bitmapId` cut into images of the given size; the light
// grey of classic toolbar bitmaps is the transparent colour. Owned by the
// caller (ImageList_Destroy).
HIMAGELIST LoadToolbarImages(HINSTANCE module, UINT bitmapId, int imageWidth);

// A flat toolbar with tooltips, no divider and no positioning of its own,
// holding the buttons of toolbar resource `id` with the images of bitmap
// `id`. The image list is owned by the caller.
HWND CreateToolbarFromResource(HWND parent, HINSTANCE module, UINT id, UINT controlId, HIMAGELIST& images);

}  // namespace mosaikon
