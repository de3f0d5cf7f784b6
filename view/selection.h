// The view's selection: two cells (anchor and caret) and its two shapes, a
// stream in reading order or a rectangle of columns. The shape is not stored;
// it is read from the ColumnMode setting each time the selection is used.
#pragma once

#include "view/scroll_model.h"

namespace mosaikon {

struct Selection {
  CellPosition anchor;  // fixed when the gesture started
  CellPosition caret;   // follows the mouse

  bool Empty() const { return anchor == caret; }
};

enum class SelectionShape { kStream, kColumns };

// ColumnMode 0 is a stream; any other value a rectangle of columns.
constexpr SelectionShape ShapeFor(int columnMode) {
  return columnMode == 0 ? SelectionShape::kStream : SelectionShape::kColumns;
}

// A selection put in order for testing cells. Stream: the cells from `start`
// up to but not including `end`, in (row, column) order. Columns: rows `top`
// to `bottom` inclusive, columns `left` up to but not including `right`.
class NormalisedSelection {
 public:
  NormalisedSelection() = default;  // empty
  NormalisedSelection(const Selection& selection, SelectionShape shape);

  bool Empty() const { return empty_; }
  SelectionShape shape() const { return shape_; }
  bool IsSelected(int row, int column) const;

  // Stream shape.
  CellPosition start() const { return start_; }
  CellPosition end() const { return end_; }
  // Column shape.
  int left() const { return start_.column; }
  int top() const { return start_.row; }
  int right() const { return end_.column; }
  int bottom() const { return end_.row; }

 private:
  SelectionShape shape_ = SelectionShape::kStream;
  bool empty_ = true;
  CellPosition start_;  // stream start, or (left, top)
  CellPosition end_;    // stream end, or (right, bottom)
};

// (row, column) reading order.
constexpr bool Before(const CellPosition& a, const CellPosition& b) {
  return a.row < b.row || (a.row == b.row && a.column < b.column);
}

}  // namespace mosaikon
