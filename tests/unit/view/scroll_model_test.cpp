// Scroll model: bar and step decisions of a layout, each scroll action on an
// axis, the clamp after a resize, the wheel accumulator and CellAt.
#include "view/scroll_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

namespace mosaikon {
namespace {

LayoutInput Input(PixelSize cell, int columns, int lines, PixelSize client, bool hasHorizontal = false,
                  bool hasVertical = false) {
  return {cell, columns, lines, client, hasHorizontal, hasVertical, 16, 16};  // bars 16 pixels thick
}

struct LayoutCase {
  const char* name;
  LayoutInput input;
  LayoutResult expected;
};

TEST(ScrollLayout, DecidesBarsAndSteps) {
  const LayoutCase cases[] = {
      // 800 x 600 content in 600 x 400: the horizontal bar takes 16 pixels of
      // height (384 rows of pixels), which then needs the vertical bar too.
      {"both bars from the horizontal one",
       Input({8, 12}, 100, 50, {600, 400}),
       {true, true, {800, 600}, {8, 12}, {584, 384}}},
      {"content fits: pages become the extent",
       Input({8, 12}, 10, 10, {600, 400}),
       {false, false, {80, 120}, {8, 12}, {80, 120}}},
      // 560 wide content fits 570 pixels; the vertical bar leaves 554, but the
      // horizontal test is not made again.
      {"vertical bar never brings in the horizontal",
       Input({8, 12}, 70, 50, {570, 400}),
       {false, true, {560, 600}, {8, 12}, {552, 396}}},
      {"bars already shown are not shown again",
       Input({8, 12}, 100, 50, {584, 384}, true, true),
       {false, false, {800, 600}, {8, 12}, {584, 384}}},
      {"page cut to whole cells",
       Input({8, 12}, 200, 200, {605, 407}, true, true),
       {false, false, {1600, 2400}, {8, 12}, {600, 396}}},
      {"client below one cell falls back to a tenth",
       Input({8, 12}, 100, 50, {5, 5}),
       {true, true, {800, 600}, {8, 12}, {80, 60}}},
      {"client lower than the bar", Input({8, 12}, 100, 1, {600, 10}), {true, true, {800, 12}, {8, 12}, {584, 1}}},
      {"huge document keeps its whole extent",
       Input({16, 24}, 200'000'000, 200'000'000, {600, 400}),
       {true, true, {3'200'000'000, 4'800'000'000}, {16, 24}, {576, 384}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(HasLayout(c.input));
    const LayoutResult r = DecideLayout(c.input);
    const LayoutResult& e = c.expected;
    EXPECT_EQ(std::tie(r.showHorizontal, r.showVertical, r.extent, r.lineStep, r.pageStep),
              std::tie(e.showHorizontal, e.showVertical, e.extent, e.lineStep, e.pageStep));
  }
}

TEST(ScrollLayout, NeedsLinesWidthAndAMeasuredCell) {
  for (const LayoutInput& input : {Input({8, 12}, 10, 0, {600, 400}), Input({8, 12}, 0, 5, {600, 400}),
                                   Input({0, 12}, 10, 5, {600, 400}), Input({8, 0}, 10, 5, {600, 400})}) {
    EXPECT_FALSE(HasLayout(input));
  }
}

TEST(ScrollBar, CountsInUnitsOnlyForContentBeyondAnInt) {
  const struct {
    std::int64_t extent;
    int client;
    std::int64_t offset;
    int maximum, page, position;
  } cases[] = {
      {1000, 400, 250, 999, 400, 250},
      {2'147'483'647, 400, 2'147'483'247, 2'147'483'646, 400, 2'147'483'247},
      // Units of 3 pixels; the far end of the content is the bar's last position.
      {3'200'000'000, 600, 1'599'999'999, 1'066'666'666, 200, 533'333'333},
      {3'200'000'000, 600, 3'199'999'400, 1'066'666'666, 200, 1'066'666'467},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extent);
    EXPECT_EQ(BarMaximum(c.extent), c.maximum);
    EXPECT_EQ(BarPage(c.extent, c.client), c.page);
    EXPECT_EQ(BarPosition(c.offset, c.extent, c.client), c.position);
    EXPECT_EQ(ScrollAxisMove(0, c.extent, 8, 576, c.client, kThumbTrack, &c.position).offset, c.offset);
    // The last pixel column is reachable, and so is the cell that holds it.
    EXPECT_EQ(ScrollAxisMove(c.offset, c.extent, 8, 576, c.client, kBottom, nullptr).offset, c.extent - c.client);
    EXPECT_EQ(CellAt({c.extent - c.client, 0}, {8, 12}, c.client - 1, 0).column, (c.extent - 1) / 8);
  }
}

struct AxisCase {
  const char* name;
  int offset;
  int extent;
  int client;
  int action;
  int newOffset;
  int shift;
  std::optional<int> track = std::nullopt;  // the bar's tracking position, when it can be read
};

TEST(ScrollAxis, AppliesEachAction) {
  // Line step 12, page step 384 throughout.
  const AxisCase cases[] = {
      {"top", 100, 1000, 400, kTop, 0, 100},
      {"bottom", 100, 1000, 400, kBottom, 600, -500},
      {"line up", 100, 1000, 400, kLineUp, 88, 12},
      {"line up near the start", 5, 1000, 400, kLineUp, 0, 5},
      {"line down", 100, 1000, 400, kLineDown, 112, -12},
      {"line down near the end", 40, 445, 400, kLineDown, 45, -5},
      {"line down at the end", 45, 445, 400, kLineDown, 45, 0},
      {"page up", 500, 1000, 400, kPageUp, 116, 384},
      {"page up near the start", 300, 1000, 400, kPageUp, 0, 300},
      {"page down", 0, 1000, 400, kPageDown, 384, -384},
      {"page down near the end", 300, 1000, 400, kPageDown, 600, -300},
      {"line down past the end comes back", 700, 1000, 400, kLineDown, 600, 100},
      {"unknown action", 100, 1000, 400, 42, 100, 0},
      {"content fits: bottom", 0, 300, 400, kBottom, 0, 0},
      {"thumb position", 100, 1000, 400, kThumbPosition, 250, -150, 250},
      {"thumb position unread", 100, 1000, 400, kThumbPosition, 100, 0},
      {"thumb beyond the end", 100, 1000, 400, kThumbTrack, 600, -500, 5000},
      {"thumb when the content fits", 0, 300, 400, kThumbTrack, 0, 0, 10},
  };
  for (const AxisCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScrollMove move =
        ScrollAxisMove(c.offset, c.extent, 12, 384, c.client, c.action, c.track ? &*c.track : nullptr);
    EXPECT_EQ(move.offset, c.newOffset);
    EXPECT_EQ(move.shift, c.shift);
  }
}

TEST(ScrollResize, ClampsOffsetToTheContentEnd) {
  // Scrolled to the far end, then enlarged; everything fits; room to scroll left; one axis only.
  EXPECT_EQ(ClampOffsetAfterResize({200, 300}, {800, 600}, {700, 400}), (PixelPoint{100, 200}));
  EXPECT_EQ(ClampOffsetAfterResize({200, 300}, {800, 600}, {900, 700}), (PixelPoint{0, 0}));
  EXPECT_EQ(ClampOffsetAfterResize({50, 60}, {800, 600}, {600, 400}), (PixelPoint{50, 60}));
  EXPECT_EQ(ClampOffsetAfterResize({50, 300}, {800, 600}, {600, 400}), (PixelPoint{50, 200}));
}

struct WheelCase {
  std::int64_t delta;
  int action;
  std::int64_t actions;
  std::int64_t accumulator;
};

// A run of wheel messages at one lines-per-notch setting, from a fresh state.
struct WheelRun {
  const char* name;
  int linesPerNotch;
  std::vector<WheelCase> steps;
};

TEST(ScrollWheel, AccumulatesDeltasIntoActions) {
  const WheelRun runs[] = {
      {"one notch is three lines", 3, {{120, kLineUp, 3, 0}, {-120, kLineDown, 3, 0}, {240, kLineUp, 6, 0}}},
      {"small deltas multiply the whole accumulator", 3, {{60, kLineUp, 2, 60}, {60, kLineUp, 3, 0}}},
      {"direction comes from the message", 3, {{100, kLineUp, 3, 100}, {-30, kLineDown, 2, 70}}},
      {"the remainder keeps its sign", 3, {{-150, kLineDown, 4, -30}, {-100, kLineDown, 4, -10}}},
      {"page mode scrolls one page per notch",
       kWheelPage,
       {{120, kPageUp, 1, 0}, {-240, kPageDown, 2, 0}, {-60, kPageDown, 1, -60}}},
      {"zero lines scrolls nothing", 0, {{120, kLineUp, 0, 0}, {0, kLineDown, 0, 0}}},
  };
  for (const WheelRun& run : runs) {
    ScrollState state;
    state.wheelLinesPerNotch = run.linesPerNotch;
    int n = 0;
    for (const WheelCase& step : run.steps) {
      SCOPED_TRACE(::testing::Message() << run.name << ", message " << n++ << " delta " << step.delta);
      const WheelScroll scroll = TakeWheelDelta(state, step.delta);
      EXPECT_EQ(std::tie(scroll.action, scroll.actions, state.wheelAccumulator),
                std::tie(step.action, step.actions, step.accumulator));
    }
  }
}

TEST(ScrollWheel, HugeValuesDoNotOverflow) {
  ScrollState state;
  state.wheelLinesPerNotch = std::numeric_limits<int>::max();
  const WheelScroll scroll = TakeWheelDelta(state, std::numeric_limits<std::int32_t>::max());
  // 2147483647 * 2147483647 / 120, rounded up.
  EXPECT_EQ(scroll.actions, std::int64_t{38430716784436839});
  EXPECT_EQ(state.wheelAccumulator, 7);
  // A delta beyond 32 bits counts as the largest 32-bit delta.
  ScrollState other;
  TakeWheelDelta(other, std::int64_t{1} << 40);
  EXPECT_EQ(other.wheelAccumulator, 7);
}

TEST(ScrollCellAt, DividesTowardZero) {
  const PixelSize cell{8, 12};
  EXPECT_EQ(CellAt({16, 24}, cell, 10, 5), (CellPosition{3, 2}));
  EXPECT_EQ(CellAt({0, 0}, cell, 7, 11), (CellPosition{0, 0}));
  EXPECT_EQ(CellAt({0, 0}, cell, -9, -13), (CellPosition{-1, -1}));
  EXPECT_EQ(CellAt({8, 0}, cell, -9, 0), (CellPosition{0, 0}));
  EXPECT_EQ(CellAt({0, 0}, {0, 0}, 50, 50), (CellPosition{0, 0}));
}

}  // namespace
}  // namespace mosaikon
