// Normalising the selection, testing cells against it, and building the
// text it selects.
#include "view/selection.h"

#include <algorithm>
#include <limits>

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

namespace {

void RemoveTrailingBreaks(std::string& text) {
  const std::size_t keep = text.find_last_not_of("\r\n");
  text.erase(keep == std::string::npos ? 0 : keep + 1);
}

// Columns as the selection holds them; only a TabSize near the int limit
// walks past the largest one.
int ClampedColumn(std::int64_t column) {
  return static_cast<int>(std::min<std::int64_t>(column, std::numeric_limits<int>::max()));
}

void StreamText(const TextDocument& document, Selection& selection, const ColumnRules& rules, std::string& text) {
  const NormalisedSelection selected(selection, SelectionShape::kStream);
  const int lastRow = std::min(selected.end().row, document.LineCount() - 1);

  // The first selected byte, then the first byte after it that is not
  // selected: the same test as painting, a pair tested at its first byte.
  const char* first = nullptr;
  const char* stop = nullptr;
  for (int row = std::max(selected.start().row, 0); row <= lastRow && !stop; ++row) {
    const TextLine& line = document.lines[static_cast<std::size_t>(row)];
    ColumnWalk walk(line.Text(), rules);
    CellSpan span;
    while (walk.Next(span)) {
      const bool inside = selected.IsSelected(row, ClampedColumn(span.column));
      if (!first) {
        if (inside) first = line.start + span.index;
      } else if (!inside) {
        stop = line.start + span.index;
        break;
      }
    }
  }
  if (!first) {
    selection.anchor = selection.caret;
    return;
  }
  if (!stop) {
    const TextLine& last = document.lines[static_cast<std::size_t>(lastRow)];
    stop = last.start + last.length;
  }
  text.assign(first, stop);
  RemoveTrailingBreaks(text);
}

void ColumnText(const TextDocument& document, Selection& selection, const ColumnRules& rules, std::string& text) {
  const NormalisedSelection selected(selection, SelectionShape::kColumns);
  for (int row = std::max(selected.top(), 0); row <= selected.bottom() && row < document.LineCount(); ++row) {
    text += ClipColumns(selected.left(), selected.right(), document.lines[static_cast<std::size_t>(row)].Text(), rules);
    if (!text.empty()) text += "\r\n";
  }
  RemoveTrailingBreaks(text);
  if (text.empty()) selection.anchor = selection.caret;
}

}  // namespace

std::string ClipColumns(std::int64_t left, std::int64_t right, std::string_view line, const ColumnRules& rules) {
  left = std::max<std::int64_t>(left, 0);
  std::string piece;
  ColumnWalk walk(line, rules);
  CellSpan span;
  while (walk.Next(span) && span.column < right) {
    if (span.End() <= left) continue;
    if (span.pair) {
      // Cut by the left edge: left out; cut by the right edge: taken whole.
      if (span.column >= left) piece.append(line.substr(static_cast<std::size_t>(span.index), span.byteCount));
    } else if (line[static_cast<std::size_t>(span.index)] == '\t') {
      piece.append(static_cast<std::size_t>(std::min(span.End(), right) - std::max(span.column, left)), ' ');
    } else {
      piece.push_back(line[static_cast<std::size_t>(span.index)]);
    }
  }
  return piece;
}

void BuildSelectedText(const TextDocument& document, Selection& selection, SelectionShape shape,
                       const ColumnRules& rules, std::string& text) {
  text.clear();
  if (selection.Empty()) return;
  if (shape == SelectionShape::kStream) {
    StreamText(document, selection, rules, text);
  } else {
    ColumnText(document, selection, rules, text);
  }
}

}  // namespace mosaikon
