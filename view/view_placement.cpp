// Zoom steps, offsets across a new cell size, bringing cells into view, and
// the export image's size. Positions are worked out in 64 bits: a document
// may be far more pixels tall than an int holds before clamping.
#include "view/view_placement.h"

#include <algorithm>

namespace mosaikon {
namespace {

// `offset` kept within [0, extent - client].
std::int64_t Clamp(std::int64_t offset, std::int64_t extent, int client) {
  return std::clamp<std::int64_t>(offset, 0, std::max<std::int64_t>(0, extent - client));
}

// One axis of OffsetShowing: the pixels [start, stop) with `margin` more on
// each side, seen through `client` pixels.
std::int64_t ShowSpan(std::int64_t offset, std::int64_t start, std::int64_t stop, std::int64_t margin, int client) {
  const std::int64_t length = stop - start;
  if (length >= client) return start;
  if (length + 2 * margin > client) return start - (client - length) / 2;
  if (start - margin < offset) return start - margin;
  if (stop + margin > offset + client) return stop + margin - client;
  return offset;
}

}  // namespace

std::int32_t ZoomedFontSize(std::int32_t fontSize, Zoom zoom) {
  const std::int32_t step = fontSize >= kSmallestFontSize && fontSize <= kLargestFontSize ? fontSize : kDefaultFontSize;
  switch (zoom) {
    case Zoom::kIn:
      return std::min(step + 1, kLargestFontSize);
    case Zoom::kOut:
      return std::max(step - 1, kSmallestFontSize);
    case Zoom::kReset:
      break;
  }
  return kDefaultFontSize;
}

PixelPoint OffsetForNewCell(PixelPoint offset, PixelSize oldCell, PixelSize newCell, ContentSize extent,
                            PixelSize client) {
  auto axis = [](std::int64_t position, int oldLength, int newLength, std::int64_t extentLength, int clientLength) {
    if (oldLength <= 0 || newLength <= 0) return Clamp(position, extentLength, clientLength);
    return Clamp(position / oldLength * newLength, extentLength, clientLength);
  };
  return {axis(offset.x, oldCell.cx, newCell.cx, extent.cx, client.cx),
          axis(offset.y, oldCell.cy, newCell.cy, extent.cy, client.cy)};
}

PixelPoint OffsetShowing(PixelPoint offset, ContentSize extent, PixelSize client, PixelSize cell, CellPosition first,
                         CellPosition end, PixelSize margin) {
  if (cell.cx <= 0 || cell.cy <= 0 || client.cx <= 0 || client.cy <= 0) return offset;
  const std::int64_t x = ShowSpan(offset.x, std::int64_t{first.column} * cell.cx, std::int64_t{end.column} * cell.cx,
                                  std::int64_t{margin.cx} * cell.cx, client.cx);
  const std::int64_t y = ShowSpan(offset.y, std::int64_t{first.row} * cell.cy, (std::int64_t{end.row} + 1) * cell.cy,
                                  std::int64_t{margin.cy} * cell.cy, client.cy);
  return {Clamp(x, extent.cx, client.cx), Clamp(y, extent.cy, client.cy)};
}

ImagePlan PlanImage(std::int64_t columns, std::int64_t lines, PixelSize cell, std::int64_t bandBytes) {
  ImagePlan plan;
  if (columns <= 0 || lines <= 0 || cell.cx <= 0 || cell.cy <= 0) return plan;
  plan.fullWidth = columns * cell.cx;
  plan.fullHeight = lines * cell.cy;
  // Whole cells only: the first part ends at a cell's edge.
  const std::int64_t width = std::min(plan.fullWidth, kLargestImageSide / cell.cx * cell.cx);
  const std::int64_t height = std::min(plan.fullHeight, kLargestImageSide / cell.cy * cell.cy);
  plan.cut = width < plan.fullWidth || height < plan.fullHeight;
  plan.width = static_cast<int>(width);
  plan.height = static_cast<int>(height);
  const std::int64_t cellRowBytes = BitmapRowBytes(width) * cell.cy;
  plan.bandRows = static_cast<int>(std::clamp<std::int64_t>(bandBytes / cellRowBytes, 1, height / cell.cy));
  return plan;
}

}  // namespace mosaikon
