// Normalising the selection, testing cells against it, and building the
// text it selects.
#include "view/selection.h"

#include <algorithm>

#include "document/line_splitter.h"

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

void StreamText(const TextDocument& document, Selection& selection, const ColumnRules& rules, std::string& text) {
  const bool anchorFirst = Before(selection.anchor, selection.caret);
  CellPosition start = anchorFirst ? selection.anchor : selection.caret;
  const CellPosition end = anchorFirst ? selection.caret : selection.anchor;
  start.column = std::max(start.column, 0);
  start.row = std::max(start.row, 0);
  const int lastRow = std::min(end.row, document.LineCount() - 1);

  // The first selected byte, then the first byte after it that is not
  // selected. A pair is tested once, at its first byte.
  const char* first = nullptr;
  const char* stop = nullptr;
  const std::int64_t tabSize = rules.tabSize > 0 ? rules.tabSize : 8;
  for (int row = start.row; row <= lastRow && !stop; ++row) {
    const TextLine& line = document.lines[static_cast<std::size_t>(row)];
    std::int64_t column = 0;
    for (std::int32_t i = 0; i < line.length; ++i) {
      const CellPosition cell{static_cast<int>(std::min<std::int64_t>(column, INT32_MAX)), row};
      const bool inside = !Before(cell, start) && Before(cell, end);
      if (!first) {
        if (inside) first = line.start + i;
      } else if (!inside) {
        stop = line.start + i;
        break;
      }
      const auto byte = static_cast<unsigned char>(line.start[i]);
      if (byte >= 0x80 && rules.decodeMode > 0) {
        column += 2;
        ++i;
      } else {
        column += byte == '\t' ? tabSize - column % tabSize : 1;
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
  const int left = std::max(std::min(selection.anchor.column, selection.caret.column), 0);
  const int right = std::max(selection.anchor.column, selection.caret.column);
  const int top = std::max(std::min(selection.anchor.row, selection.caret.row), 0);
  const int bottom = std::max(selection.anchor.row, selection.caret.row);
  const std::int32_t tabSize = rules.tabSize > 0 ? rules.tabSize : 8;
  std::string expanded;
  for (int row = top; row <= bottom && row < document.LineCount(); ++row) {
    const TextLine& line = document.lines[static_cast<std::size_t>(row)];
    const char* bytes = line.start;
    std::int32_t length = line.length;
    if (line.Text().find('\t') != std::string_view::npos) {
      ExpandTabs(line.start, line.length, &expanded, tabSize);
      bytes = expanded.data();
      length = static_cast<std::int32_t>(expanded.size());
    }
    text += ClipColumns(left, right, bytes, length, rules.decodeMode);
    if (!text.empty()) text += "\r\n";
  }
  RemoveTrailingBreaks(text);
  if (text.empty()) selection.anchor = selection.caret;
}

}  // namespace

std::string ClipColumns(int left, int right, const char* bytes, std::int32_t length, std::int32_t decodeMode) {
  std::int64_t from = std::max(left, 0);
  std::int64_t to = right;
  if (decodeMode > 0) {
    for (std::int64_t k = 0; k < length;) {
      if (static_cast<unsigned char>(bytes[k]) >= 0x80) {
        if (from == k + 1) from = k + 2;
        if (to == k + 1) {
          to = k + 2;
          break;
        }
        k += 2;
      } else {
        ++k;
      }
    }
  }
  const std::int64_t end = std::min<std::int64_t>(to, length);
  if (from >= end) return {};
  return std::string(bytes + from, static_cast<std::size_t>(end - from));
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
