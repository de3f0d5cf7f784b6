// Tests of the status bar's part arithmetic.
#include "framework/pane_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace mosaikon {
namespace {

TEST(PaneRightEdges, FirstPaneTakesTheSumAndEachAGap) {
  for (int gap : {0, 5}) {
    EXPECT_EQ(PaneRightEdges({0, 180, 100}, gap), (std::vector<int>{280 + gap, 460 + 2 * gap, 560 + 3 * gap}));
  }
  EXPECT_EQ(PaneRightEdges({}, 2), std::vector<int>{});
}

struct ResizeCase {
  std::vector<int> edges;
  std::vector<int> ids;
  int clientWidth;
  int reserved;
  bool changed;
  std::vector<int> expected;
};

TEST(ResizePanes, DefaultPaneTakesTheChange) {
  const std::vector<ResizeCase> cases = {
      // Widen: 800 - 562 - 19 = 219 added to every part from the default pane on.
      {{282, 462, 562}, {0, 102, 103}, 800, 19, true, {501, 681, 781}},
      // Narrow, but the default pane keeps some width.
      {{501, 681, 781}, {0, 102, 103}, 700, 19, true, {401, 581, 681}},
      // Would leave the default pane with no width: nothing moves; one pixel is kept.
      {{282, 462, 562}, {0, 102, 103}, 299, 19, false, {282, 462, 562}},
      {{282, 462, 562}, {0, 102, 103}, 300, 19, true, {1, 181, 281}},
      // No default pane: nothing moves.
      {{100, 200}, {101, 102}, 900, 0, false, {100, 200}},
      // Default pane in the middle: parts before it stay.
      {{100, 200, 300}, {7, 0, 9}, 500, 0, true, {100, 400, 500}},
      {{100, 200, 300}, {7, 0, 9}, 150, 0, false, {100, 200, 300}},
      // Already in place.
      {{100, 200}, {0, 102}, 200, 0, false, {100, 200}},
  };
  for (const ResizeCase& c : cases) {
    std::vector<int> edges = c.edges;
    EXPECT_EQ(ResizePanes(edges, c.ids, c.clientWidth, c.reserved), c.changed) << c.clientWidth;
    EXPECT_EQ(edges, c.expected) << c.clientWidth;
  }
}

}  // namespace
}  // namespace mosaikon
