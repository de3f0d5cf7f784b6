// Normalising the selection and testing cells against it.
#include "view/selection.h"

#include <algorithm>

namespace mosaikon {

NormalisedSelection::NormalisedSelection(const Selection& selection, SelectionShape shape)
    : shape_(shape), empty_(selection.Empty()) {
  const CellPosition& a = selection.anchor;
  const CellPosition& c = selection.caret;
  if (shape == SelectionShape::kStream) {
    const bool anchorFirst = Before(a, c);
    start_ = anchorFirst ? a : c;
    end_ = anchorFirst ? c : a;
  } else {
    start_ = {std::min(a.column, c.column), std::min(a.row, c.row)};
    end_ = {std::max(a.column, c.column), std::max(a.row, c.row)};
  }
}

bool NormalisedSelection::IsSelected(int row, int column) const {
  if (empty_) return false;
  if (shape_ == SelectionShape::kStream) {
    const CellPosition cell{column, row};
    return !Before(cell, start_) && Before(cell, end_);
  }
  return top() <= row && row <= bottom() && left() <= column && column < right();
}

}  // namespace mosaikon
