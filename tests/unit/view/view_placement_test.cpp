// Zoom steps, the top-left cell kept across a new cell size, a match brought
// into view with context, and the size and bands of an exported image.
#include "view/view_placement.h"

#include <gtest/gtest.h>

namespace mosaikon {
namespace {

TEST(ViewPlacement, ZoomStepsStayWithinOneToFiveAndOddValuesCountAsThree) {
  // From, zoom, to.
  const std::tuple<std::int32_t, Zoom, std::int32_t> cases[] = {
      {3, Zoom::kIn, 4}, {5, Zoom::kIn, 5},  {2, Zoom::kOut, 1},  {1, Zoom::kOut, 1},
      {0, Zoom::kIn, 4}, {6, Zoom::kOut, 2}, {-7, Zoom::kOut, 2}, {5, Zoom::kReset, 3}};
  for (const auto& [from, zoom, to] : cases) EXPECT_EQ(ZoomedFontSize(from, zoom), to) << from;
}

TEST(ViewPlacement, NewCellSizeKeepsTheTopLeftCellWhereTheContentAllows) {
  const ContentSize big{100000, 100000};
  // Offset, old cell, new cell, extent, client, expected offset.
  const std::tuple<PixelPoint, PixelSize, PixelSize, ContentSize, PixelSize, PixelPoint> cases[] = {
      {{80, 120}, {8, 12}, {12, 16}, big, {640, 480}, {120, 160}},
      {{85, 131}, {8, 12}, {12, 16}, big, {640, 480}, {120, 160}},  // mid-cell: that cell's edge
      {{1600, 2400}, {16, 24}, {8, 12}, {900, 1000}, {400, 300}, {500, 700}},
      {{1600, 2400}, {16, 24}, {8, 12}, {300, 200}, {400, 300}, {0, 0}},
      {{40, 40}, {0, 0}, {8, 12}, big, {640, 480}, {40, 40}}};
  for (const auto& [offset, oldCell, newCell, extent, client, expected] : cases) {
    const PixelPoint moved = OffsetForNewCell(offset, oldCell, newCell, extent, client);
    EXPECT_EQ(moved, expected) << offset.x << "," << offset.y << " gave " << moved.x << "," << moved.y;
  }
}

TEST(ViewPlacement, RevealMovesOnlyAsFarAsTheMatchAndItsMarginNeed) {
  // 8 x 12 cells, 1000 x 1000 of them, seen 100 x 50 at a time, with a
  // margin of 8 columns and 3 rows.
  struct Case {
    const char* name;
    PixelPoint offset;
    CellPosition first, end;
    PixelPoint expected;
    PixelSize client{800, 600};
  };
  for (const Case& c : {Case{"visible already", {0, 0}, {5, 10}, {10, 10}, {0, 0}},
                        {"below", {0, 0}, {5, 100}, {10, 100}, {0, 648}},
                        {"above", {0, 6000}, {5, 100}, {10, 100}, {0, 1164}},
                        {"right", {0, 0}, {200, 3}, {205, 3}, {904, 0}},
                        {"left, at the document's edge", {904, 600}, {1, 1}, {4, 1}, {0, 0}},
                        {"wider than the client", {0, 0}, {300, 3}, {450, 3}, {2400, 0}},
                        {"too low for the margin", {0, 0}, {5, 100}, {10, 100}, {0, 1191}, {800, 30}},
                        {"past the end", {0, 0}, {995, 999}, {1000, 999}, {7200, 11400}}}) {
    const PixelPoint shown = OffsetShowing(c.offset, {8000, 12000}, c.client, {8, 12}, c.first, c.end, {8, 3});
    EXPECT_EQ(shown, c.expected) << c.name << ": " << shown.x << "," << shown.y;
  }
}

TEST(ViewPlacement, ImagesAreCutToWholeCellsAtTheLargestSideAndDrawnInBands) {
  // Columns, lines, cell, band bytes; width, height, band rows, cut.
  const std::tuple<int, int, PixelSize, std::int64_t, int, int, int, bool> cases[] = {
      {80, 25, {8, 12}, 1 << 20, 640, 300, 25, false},
      {80, 25, {8, 12}, 1920 * 12 * 10, 640, 300, 10, false},  // 1920 bytes a pixel row
      {80, 3000, {8, 12}, 1, 640, 32760, 1, true},
      {5000, 2, {8, 12}, 1 << 30, 32760, 24, 2, true},
      {0, 10, {8, 12}, 1 << 20, 0, 0, 0, false}};
  for (const auto& [columns, lines, cell, bandBytes, width, height, bandRows, cut] : cases) {
    const ImagePlan plan = PlanImage(columns, lines, cell, bandBytes);
    EXPECT_EQ(std::tie(plan.width, plan.height, plan.bandRows, plan.cut), std::tie(width, height, bandRows, cut))
        << columns << " x " << lines << " gave " << plan.width << " x " << plan.height << ", " << plan.bandRows;
  }
}

}  // namespace
}  // namespace mosaikon
