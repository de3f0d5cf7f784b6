// Scroll arithmetic of the view. Offsets and extents are 64-bit: a document
// of a few hundred million lines or columns is more pixels than an int holds,
// and every one of them must be reachable. Only what meets an int-counting
// interface (steps, bar values, cells) is narrowed, by saturation or by the
// bar unit.
#include "view/scroll_model.h"

#include <algorithm>
#include <limits>

namespace mosaikon {
namespace {

constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
// The range of a bar that counts in units of several pixels.
constexpr std::int64_t kLongBarRange = std::int64_t{1} << 30;

// A length cut down to a whole number of cells.
int WholeCells(int length, int cell) {
  return length - length % cell;
}

int MeasuredStep(int measured, std::int64_t extent, int fallback) {
  const int step = measured > extent ? static_cast<int>(extent) : measured;
  return step == 0 ? fallback : step;
}

}  // namespace

std::int64_t& Along(PixelPoint& point, Axis axis) {
  return axis == Axis::kHorizontal ? point.x : point.y;
}
std::int64_t Along(const PixelPoint& point, Axis axis) {
  return axis == Axis::kHorizontal ? point.x : point.y;
}
std::int64_t Along(const ContentSize& size, Axis axis) {
  return axis == Axis::kHorizontal ? size.cx : size.cy;
}
int Along(const PixelSize& size, Axis axis) {
  return axis == Axis::kHorizontal ? size.cx : size.cy;
}

bool HasLayout(const LayoutInput& input) {
  return input.lineCount > 0 && input.documentWidth > 0 && input.cell.cx > 0 && input.cell.cy > 0;
}

int DefaultLineStep(std::int64_t extent) {
  return SaturateToInt(std::max<std::int64_t>(extent / 100, 1));
}
int DefaultPageStep(std::int64_t extent) {
  return SaturateToInt(std::max<std::int64_t>(extent / 10, 1));
}

LayoutResult DecideLayout(const LayoutInput& input) {
  LayoutResult result;
  const std::int64_t contentWidth = std::int64_t{input.documentWidth} * input.cell.cx;
  const std::int64_t contentHeight = std::int64_t{input.lineCount} * input.cell.cy;
  int clientWidth = std::max(input.client.cx, 0);
  int clientHeight = std::max(input.client.cy, 0);
  int pageWidth = WholeCells(clientWidth, input.cell.cx);
  int pageHeight = WholeCells(clientHeight, input.cell.cy);

  // A bar takes its room from the client; a client smaller than the bar
  // leaves no room rather than a negative page.
  if (!input.hasHorizontal && pageWidth < contentWidth) {
    result.showHorizontal = true;
    clientHeight = std::max(clientHeight - input.horizontalBarHeight, 0);
    pageHeight = WholeCells(clientHeight, input.cell.cy);
  }
  if (!input.hasVertical && pageHeight < contentHeight) {
    result.showVertical = true;
    clientWidth = std::max(clientWidth - input.verticalBarWidth, 0);
    pageWidth = WholeCells(clientWidth, input.cell.cx);
  }

  result.extent = {contentWidth, contentHeight};
  result.pageStep = {MeasuredStep(pageWidth, contentWidth, DefaultPageStep(contentWidth)),
                     MeasuredStep(pageHeight, contentHeight, DefaultPageStep(contentHeight))};
  result.lineStep = {MeasuredStep(input.cell.cx, contentWidth, DefaultLineStep(contentWidth)),
                     MeasuredStep(input.cell.cy, contentHeight, DefaultLineStep(contentHeight))};
  return result;
}

std::int64_t BarUnit(std::int64_t extent) {
  return extent <= kIntMax ? 1 : (extent + kLongBarRange - 1) / kLongBarRange;
}

int BarMaximum(std::int64_t extent) {
  return static_cast<int>((extent - 1) / BarUnit(extent));
}

int BarPage(std::int64_t extent, int client) {
  return static_cast<int>(std::max(client, 0) / BarUnit(extent));
}

int BarPosition(std::int64_t offset, std::int64_t extent, int client) {
  const std::int64_t unit = BarUnit(extent);
  if (unit == 1) return SaturateToInt(offset);
  if (offset >= extent - client) return BarMaximum(extent) - BarPage(extent, client) + 1;
  return static_cast<int>(offset / unit);
}

std::int64_t OffsetForBarPosition(int position, std::int64_t extent, int client) {
  const std::int64_t unit = BarUnit(extent);
  if (unit == 1) return position;
  if (position >= BarMaximum(extent) - BarPage(extent, client) + 1) return extent - client;
  return position * unit;
}

ScrollMove ScrollAxisMove(std::int64_t offset, std::int64_t extent, int lineStep, int pageStep, int client, int action,
                          const int* track) {
  const std::int64_t o = offset;
  const std::int64_t max = extent - client;
  ScrollMove move{offset, 0};
  if (max < 0) return move;

  std::int64_t target = o;
  switch (action) {
    case kTop:
      target = 0;
      break;
    case kBottom:
      target = max;
      break;
    case kLineUp:
      target = o >= lineStep ? o - lineStep : 0;
      break;
    case kLineDown:
      target = o < max - lineStep ? o + lineStep : max;
      break;
    case kPageUp:
      target = o >= pageStep ? o - pageStep : 0;
      break;
    case kPageDown:
      target = o < max - pageStep ? o + pageStep : max;
      break;
    case kThumbTrack:
    case kThumbPosition:
      if (!track) return move;
      // The bar reports positions inside its range; keep the offset inside
      // the content even if it does not.
      target = std::clamp<std::int64_t>(OffsetForBarPosition(*track, extent, client), 0, max);
      break;
    default:
      return move;
  }
  move.offset = target;
  move.shift = o - target;
  return move;
}

PixelPoint ClampOffsetAfterResize(PixelPoint offset, ContentSize extent, PixelSize client) {
  const auto clamp = [](std::int64_t o, std::int64_t e, int c) {
    const std::int64_t max = e - c;
    return max < o ? std::max<std::int64_t>(0, max) : o;
  };
  return {clamp(offset.x, extent.cx, client.cx), clamp(offset.y, extent.cy, client.cy)};
}

WheelScroll TakeWheelDelta(ScrollState& state, std::int64_t delta) {
  // A message carries at most a 32-bit delta; clamping keeps the products
  // below in 64 bits whatever arrives.
  delta = SaturateToInt(delta);
  WheelScroll scroll;
  const bool page = state.wheelLinesPerNotch == kWheelPage;
  if (delta > 0) {
    scroll.action = page ? kPageUp : kLineUp;
  } else {
    scroll.action = page ? kPageDown : kLineDown;
  }
  state.wheelAccumulator += delta;
  const std::int64_t magnitude = state.wheelAccumulator < 0 ? -state.wheelAccumulator : state.wheelAccumulator;
  const std::int64_t total = page ? magnitude : magnitude * state.wheelLinesPerNotch;
  scroll.actions = total > 0 ? (total + kWheelDelta - 1) / kWheelDelta : 0;
  state.wheelAccumulator %= kWheelDelta;  // C++ keeps the dividend's sign
  return scroll;
}

CellPosition CellAt(PixelPoint offset, PixelSize cell, int x, int y) {
  if (cell.cx <= 0 || cell.cy <= 0) return {};
  return {SaturateToInt((offset.x + x) / cell.cx), SaturateToInt((offset.y + y) / cell.cy)};
}

}  // namespace mosaikon
