// How the bytes of a line become display columns. Painting, the selected
// text and every later question of the kind "which byte is under this
// column" walk a line the same way, here. The walk never builds the
// tab-expanded text: a tab is one step however many columns it spans, and
// columns are 64-bit, so no TabSize can make a line's columns overflow.
#pragma once

#include <cstdint>
#include <string_view>

namespace mosaikon {

// A tab advances to the next multiple of tabSize (below 1: 8). With
// decodeMode above 0 a byte of 0x80 or above takes the byte after it along
// and two columns, as one double-byte character; every other byte is one
// column.
struct ColumnRules {
  std::int32_t tabSize = 8;
  std::int32_t decodeMode = 0;
};

// One step of a walk: bytes [index, index + byteCount) of the line shown in
// columns [column, column + cells).
struct CellSpan {
  std::int32_t index = 0;
  std::int32_t byteCount = 0;  // 2 for a pair; 1 otherwise, also for a lead byte that ends the line
  std::int64_t column = 0;
  std::int64_t cells = 0;  // 1; 2 for a pair; 1 to tabSize for a tab
  bool pair = false;       // a double-byte character (two cells even with no second byte)

  std::int64_t End() const { return column + cells; }
};

class ColumnWalk {
 public:
  ColumnWalk(std::string_view line, const ColumnRules& rules)
      : line_(line), tabSize_(rules.tabSize > 0 ? rules.tabSize : 8), pairs_(rules.decodeMode > 0) {}

  // The next span of the line, or false when the line is done.
  bool Next(CellSpan& span) {
    if (next_ >= line_.size()) return false;
    const auto byte = static_cast<unsigned char>(line_[next_]);
    span.index = static_cast<std::int32_t>(next_);
    span.column = column_;
    span.pair = pairs_ && byte >= 0x80;
    if (span.pair) {
      span.byteCount = next_ + 1 < line_.size() ? 2 : 1;
      span.cells = 2;
    } else {
      span.byteCount = 1;
      span.cells = byte == '\t' ? tabSize_ - column_ % tabSize_ : 1;
    }
    next_ += static_cast<std::size_t>(span.byteCount);
    column_ += span.cells;
    return true;
  }

 private:
  std::string_view line_;
  std::int64_t tabSize_;
  bool pairs_;
  std::size_t next_ = 0;
  std::int64_t column_ = 0;
};

}  // namespace mosaikon
