// Selection shapes: which cells a stream or a rectangle of columns covers,
// whichever end the gesture started from.
#include "view/selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

// Draws the selected cells of rows 0-4, columns 0-9 as '#' and '.'.
std::vector<std::string> Picture(const NormalisedSelection& selection) {
  std::vector<std::string> rows;
  for (int row = 0; row < 5; ++row) {
    std::string line;
    for (int column = 0; column < 10; ++column) line += selection.IsSelected(row, column) ? '#' : '.';
    rows.push_back(line);
  }
  return rows;
}

struct ShapeCase {
  const char* name;
  Selection selection;
  SelectionShape shape;
  std::vector<std::string> picture;
};

TEST(Selection, CoversTheCellsOfItsShape) {
  const std::vector<std::string> none(5, "..........");
  const ShapeCase cases[] = {
      {"stream over three rows, end cell excluded",
       {{3, 0}, {1, 2}},
       SelectionShape::kStream,
       {"...#######", "##########", "#.........", "..........", ".........."}},
      {"stream dragged upwards is the same",
       {{1, 2}, {3, 0}},
       SelectionShape::kStream,
       {"...#######", "##########", "#.........", "..........", ".........."}},
      {"stream on one row",
       {{6, 1}, {2, 1}},
       SelectionShape::kStream,
       {"..........", "..####....", "..........", "..........", ".........."}},
      {"empty stream", {{4, 1}, {4, 1}}, SelectionShape::kStream, none},
      {"columns from either corner",
       {{5, 1}, {2, 3}},
       SelectionShape::kColumns,
       {"..........", "..###.....", "..###.....", "..###.....", ".........."}},
      {"columns of zero width", {{4, 1}, {4, 3}}, SelectionShape::kColumns, none},
      {"columns on one row",
       {{1, 4}, {3, 4}},
       SelectionShape::kColumns,
       {"..........", "..........", "..........", "..........", ".##......."}},
      {"columns starting left of the window",
       {{-2, -1}, {2, 1}},
       SelectionShape::kColumns,
       {"##........", "##........", "..........", "..........", ".........."}},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Picture(NormalisedSelection(c.selection, c.shape)), c.picture);
  }
}

TEST(Selection, EmptyExactlyWhenAnchorIsCaret) {
  EXPECT_TRUE((Selection{{3, 2}, {3, 2}}).Empty());
  EXPECT_FALSE((Selection{{3, 2}, {3, 3}}).Empty());
  EXPECT_FALSE(NormalisedSelection(Selection{{4, 1}, {4, 3}}, SelectionShape::kColumns).Empty());
  EXPECT_TRUE(NormalisedSelection().Empty());
  EXPECT_FALSE(NormalisedSelection().IsSelected(0, 0));
}

}  // namespace
}  // namespace mosaikon
