// Where the view's content goes when the cell changes size or a range of
// cells must be seen: the FontSize steps of zooming, the offset that keeps
// the top-left cell in place across a new cell size, the offset that brings a
// found match into view with some context around it, and the size of the
// image an export of the whole document makes.
#pragma once

#include <cstdint>

#include "settings/settings_model.h"
#include "view/scroll_model.h"

namespace mosaikon {

enum class Zoom { kIn, kOut, kReset };

// The FontSize after a zoom command. A stored value outside the steps counts
// as the default step, so zooming from it moves one step from there.
std::int32_t ZoomedFontSize(std::int32_t fontSize, Zoom zoom);

// The offset that shows the cell that was at the top-left corner in cells of
// `oldCell` at the same corner in cells of `newCell`, clamped so the content
// still reaches the client's right and bottom edges where it is larger.
PixelPoint OffsetForNewCell(PixelPoint offset, PixelSize oldCell, PixelSize newCell, ContentSize extent,
                            PixelSize client);

// The offset nearest to `offset` that shows columns [first.column,
// end.column) of rows first.row to end.row with `margin` cells (columns,
// rows) of context on every side where the content has them. A range larger
// than the client is shown from its start.
PixelPoint OffsetShowing(PixelPoint offset, ContentSize extent, PixelSize client, PixelSize cell, CellPosition first,
                         CellPosition end, PixelSize margin);

// The bytes of one row of a 24-bit bitmap `width` pixels wide: the platform
// pads rows to a multiple of four bytes.
constexpr std::int64_t BitmapRowBytes(std::int64_t width) {
  return (width * 3 + 3) / 4 * 4;
}

// The platform's largest bitmap side.
constexpr std::int64_t kLargestImageSide = 32767;

struct ImagePlan {
  std::int64_t fullWidth = 0;  // the whole document in pixels
  std::int64_t fullHeight = 0;
  int width = 0;  // what is exported: the whole, or its first whole cells
  int height = 0;
  bool cut = false;  // the document is larger than one image may be
  int bandRows = 0;  // cell rows drawn at once, to bound the bitmap's memory
};

// The image of a document of `columns` x `lines` cells of `cell` pixels,
// drawn in bands of at most `bandBytes` bytes of 24-bit rows. Empty (width
// or height 0) when there is nothing to draw.
ImagePlan PlanImage(std::int64_t columns, std::int64_t lines, PixelSize cell, std::int64_t bandBytes);

}  // namespace mosaikon
