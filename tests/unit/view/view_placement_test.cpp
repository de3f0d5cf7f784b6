// Zoom steps, the top-left cell kept across a new cell size, a match brought
// into view with context, and the size and bands of an exported image.
#include "view/view_placement.h"

#include <gtest/gtest.h>

namespace mosaikon {
namespace {

TEST(ViewPlacement, ZoomStepsStayWithinOneToFiveAndOddValuesCountAsThree) {
  struct Case {
    std::int32_t from;
    Zoom zoom;
    std::int32_t to;
  };
  for (Case c : {Case{3, Zoom::kIn, 4},
                 {4, Zoom::kIn, 5},
                 {5, Zoom::kIn, 5},
                 {2, Zoom::kOut, 1},
                 {1, Zoom::kOut, 1},
                 {0, Zoom::kIn, 4},
                 {6, Zoom::kOut, 2},
                 {-7, Zoom::kOut, 2},
                 {5, Zoom::kReset, 3},
                 {99, Zoom::kReset, 3}})
    EXPECT_EQ(ZoomedFontSize(c.from, c.zoom), c.to) << c.from << " zoom " << static_cast<int>(c.zoom);
}

TEST(ViewPlacement, NewCellSizeKeepsTheTopLeftCellWhereTheContentAllows) {
  struct Case {
    PixelPoint offset;
    PixelSize oldCell, newCell, extent, client;
    PixelPoint expected;
  };
  const PixelSize big{100000, 100000};
  for (Case c : {Case{{80, 120}, {8, 12}, {12, 16}, big, {640, 480}, {120, 160}},
                 {{85, 131}, {8, 12}, {12, 16}, big, {640, 480}, {120, 160}},  // mid-cell: that cell's edge
                 {{1600, 2400}, {16, 24}, {8, 12}, {900, 1000}, {400, 300}, {500, 700}},
                 {{1600, 2400}, {16, 24}, {8, 12}, {300, 200}, {400, 300}, {0, 0}},
                 {{40, 40}, {0, 0}, {8, 12}, big, {640, 480}, {40, 40}}}) {
    const PixelPoint moved = OffsetForNewCell(c.offset, c.oldCell, c.newCell, c.extent, c.client);
    EXPECT_EQ(moved, c.expected) << c.offset.x << "," << c.offset.y << " gave " << moved.x << "," << moved.y;
  }
}

TEST(ViewPlacement, RevealMovesOnlyAsFarAsTheMatchAndItsMarginNeed) {
  // 8 x 12 cells, 1000 x 1000 of them; a client of 100 x 50 cells; a margin
  // of 8 columns and 3 rows.
  const PixelSize cell{8, 12}, extent{8000, 12000}, margin{8, 3};
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
    SCOPED_TRACE(c.name);
    const PixelPoint shown = OffsetShowing(c.offset, extent, c.client, cell, c.first, c.end, margin);
    EXPECT_EQ(shown, c.expected) << shown.x << "," << shown.y;
  }
}

TEST(ViewPlacement, ImagesAreCutToWholeCellsAtTheLargestSideAndDrawnInBands) {
  struct Case {
    std::int64_t columns, lines;
    PixelSize cell;
    std::int64_t bandBytes;
    int width, height, bandRows;
    bool cut;
  };
  for (Case c : {Case{80, 25, {8, 12}, 1 << 20, 640, 300, 25, false},
                 {80, 25, {8, 12}, 1920 * 12 * 10, 640, 300, 10, false},  // 1920 bytes a pixel row
                 {80, 3000, {8, 12}, 1, 640, 32760, 1, true},
                 {5000, 2, {8, 12}, 1 << 30, 32760, 24, 2, true},
                 {0, 10, {8, 12}, 1 << 20, 0, 0, 0, false},
                 {10, 10, {0, 0}, 1 << 20, 0, 0, 0, false}}) {
    const ImagePlan plan = PlanImage(c.columns, c.lines, c.cell, c.bandBytes);
    SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.lines));
    EXPECT_EQ(plan.width, c.width);
    EXPECT_EQ(plan.height, c.height);
    EXPECT_EQ(plan.bandRows, c.bandRows);
    EXPECT_EQ(plan.cut, c.cut);
    if (c.width > 0) EXPECT_EQ(plan.fullHeight, c.lines * c.cell.cy);
  }
}

}  // namespace
}  // namespace mosaikon
