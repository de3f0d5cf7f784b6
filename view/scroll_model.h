// The view's scroll model as plain integer rules: the bar and step decisions of
// a layout, one scroll action on an axis, the offset clamp after a resize, the
// mouse wheel's accumulator, and the mapping of a client point to a cell.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace mosaikon {

// A point in document pixels. 64-bit: a line of a few hundred million
// columns is wider than int pixels.
struct PixelPoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Sizes the window system gives in int: a cell, a client area, a step.
struct PixelSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const PixelSize&) const = default;
};

// The size of the content in pixels, 64-bit like PixelPoint.
struct ContentSize {
  std::int64_t cx = 0;
  std::int64_t cy = 0;
  bool operator==(const ContentSize&) const = default;
};

// The platform's scroll codes; on the horizontal axis "up" is left.
enum ScrollAction : int {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kTop = 6,
  kBottom = 7,
  kEndScroll = 8,
};

enum class Axis { kHorizontal, kVertical };

constexpr int kWheelDelta = 120;  // wheel units per notch
constexpr int kDefaultWheelLines = 3;
constexpr int kWheelPage = -1;  // wheelLinesPerNotch value: one page per notch

// Scroll position and sizes of the view, in pixels.
struct ScrollState {
  PixelPoint offset;     // document pixel at the client's top-left corner; never negative
  ContentSize extent;    // content size
  PixelSize lineStep;    // one line action per axis
  PixelSize pageStep;    // one page action per axis
  PixelSize clientSize;  // as last reported by a resize
  std::int64_t wheelAccumulator = 0;
  int wheelLinesPerNotch = kDefaultWheelLines;
};

std::int64_t& Along(PixelPoint& point, Axis axis);
std::int64_t Along(const PixelPoint& point, Axis axis);
std::int64_t Along(const ContentSize& size, Axis axis);
int Along(const PixelSize& size, Axis axis);

// What a layout needs to know about the window and the document.
struct LayoutInput {
  PixelSize cell;                  // measured cell; a layout needs both sides positive
  std::int32_t documentWidth = 0;  // columns of the widest line
  std::int32_t lineCount = 0;
  PixelSize client;            // current client rectangle
  bool hasHorizontal = false;  // bars shown before the layout
  bool hasVertical = false;
  int horizontalBarHeight = 0;  // SM_CYHSCROLL
  int verticalBarWidth = 0;     // SM_CXVSCROLL
};

struct LayoutResult {
  bool showHorizontal = false;  // bars the layout must show (never hides one)
  bool showVertical = false;
  ContentSize extent;
  PixelSize lineStep;
  PixelSize pageStep;
};

// True when the document gives the view something to lay out: at least one
// line, a width above 0 and a measured cell. Otherwise a layout only measures.
bool HasLayout(const LayoutInput& input);

// The bar and step decisions of a layout (call only when HasLayout). The
// horizontal bar is decided first; showing it can bring in the vertical one,
// but not the other way round.
LayoutResult DecideLayout(const LayoutInput& input);

// Defaults the steps are reset to before the measured ones are applied.
int DefaultLineStep(std::int64_t extent);
int DefaultPageStep(std::int64_t extent);

// A scroll bar counts in int. Content up to the largest int is shown on its
// bar pixel for pixel; longer content in units of BarUnit pixels, so that
// the bar's range fits while the offset itself stays exact. The far end of
// the bar stands for the far end of the content.
std::int64_t BarUnit(std::int64_t extent);
int BarMaximum(std::int64_t extent);  // the bar's range is 0 to this
int BarPage(std::int64_t extent, int client);
int BarPosition(std::int64_t offset, std::int64_t extent, int client);
// The offset a bar position stands for (not yet clamped to the content).
std::int64_t OffsetForBarPosition(int position, std::int64_t extent, int client);

struct ScrollMove {
  std::int64_t offset = 0;  // new offset on the axis
  std::int64_t shift = 0;   // pixels the shown content moves (positive: towards down/right)
};

// One scroll action on an axis with offset o, extent e, line and page steps
// and the client's length on that axis. `track` is the bar's tracking
// position (in bar units), or null when it cannot be read. Returns a move
// with shift 0 when nothing changes.
ScrollMove ScrollAxisMove(std::int64_t offset, std::int64_t extent, int lineStep, int pageStep, int client, int action,
                          const int* track);

// The offset after a resize to `client`: scrolled back so that the content
// ends at the client's edge, but never below 0.
PixelPoint ClampOffsetAfterResize(PixelPoint offset, ContentSize extent, PixelSize client);

struct WheelScroll {
  int action = kLineDown;
  std::int64_t actions = 0;  // how many times to run it
};

// Adds one wheel message's delta to the accumulator and tells how many
// actions to run; the accumulator keeps the remainder below one notch.
WheelScroll TakeWheelDelta(ScrollState& state, std::int64_t delta);

struct CellPosition {
  int column = 0;
  int row = 0;
  bool operator==(const CellPosition&) const = default;
};

// A 64-bit position narrowed for what counts in int (cells, client pixels,
// bar values): beyond int's range it stops at the range's ends.
constexpr int SaturateToInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The cell under a client point (signed client coordinates), by division
// truncating toward zero.
CellPosition CellAt(PixelPoint offset, PixelSize cell, int x, int y);

}  // namespace mosaikon
