// How the bytes of a line become display columns. Painting, the selected
// text and every later question of the kind "which byte is under this
// column" walk a line the same way, here. The walk never builds the
// tab-expanded text: a tab is one step however many columns it spans, and
// columns are 64-bit, so no TabSize can make a line's columns overflow.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "document/line_splitter.h"

namespace mosaikon {

// A tab advances to the next multiple of EffectiveTabSize(tabSize), unless
// tabCells says it is one cell showing its glyph. With decodeMode above 0 a
// byte of 0x80 or above takes the byte after it along and two columns, as one
// double-byte character; every other byte is one column.
struct ColumnRules {
  std::int32_t tabSize = 8;
  std::int32_t decodeMode = 0;
  bool tabCells = false;
};

// ANSI art read by the modern rules shows a tab as one cell with its glyph,
// as every other control byte there.
inline bool TabsAreCells(const TextDocument& document) {
  return document.ansi && document.modern;
}

// One step of a walk: bytes [index, index + byteCount) of the line shown in
// columns [column, column + cells).
struct CellSpan {
  std::int32_t index = 0;
  std::int32_t byteCount = 0;  // 2 for a pair; 1 otherwise, also for a lead byte that ends the line
  std::int64_t column = 0;
  std::int64_t cells = 0;  // 1; 2 for a pair; 1 to the tab size for a tab
  bool pair = false;       // a double-byte character (two cells even with no second byte)

  std::int64_t End() const { return column + cells; }
};

class ColumnWalk {
 public:
  ColumnWalk(std::string_view line, const ColumnRules& rules)
      : line_(line), tabSize_(EffectiveTabSize(rules.tabSize)), pairs_(rules.decodeMode > 0), tabs_(!rules.tabCells) {}

  // The next span of the line, or false when the line is done.
  bool Next(CellSpan& span) {
    if (next_ >= line_.size()) return false;
    Measure(span);
    Take(span);
    return true;
  }

  // Like Next, but a run of plain bytes (neither tab nor pair) comes as one
  // span of one column per byte, ending at `untilColumn` at the latest.
  bool NextRun(CellSpan& span, std::int64_t untilColumn) {
    if (next_ >= line_.size()) return false;
    Measure(span);
    if (!Special(span)) {
      const std::size_t run = PlainRun(untilColumn);
      span.byteCount = static_cast<std::int32_t>(run);
      span.cells = static_cast<std::int64_t>(run);
    }
    Take(span);
    return true;
  }

  // Passes over every span that ends at or before `column`, quickly over
  // plain bytes: the next span is then the one that holds `column`, or the
  // first after it.
  void SkipTo(std::int64_t column) {
    CellSpan span;
    while (next_ < line_.size() && column_ < column) {
      Measure(span);
      if (Special(span)) {
        if (span.End() > column) return;
        Take(span);
      } else {
        const std::size_t run = PlainRun(column);
        next_ += run;
        column_ += static_cast<std::int64_t>(run);
      }
    }
  }

  // The column where the next span starts (the line's width once it is done).
  std::int64_t column() const { return column_; }

 private:
  // The span at the current position, as one byte or one pair.
  void Measure(CellSpan& span) const {
    const auto byte = static_cast<unsigned char>(line_[next_]);
    span.index = static_cast<std::int32_t>(next_);
    span.column = column_;
    span.pair = pairs_ && byte >= 0x80;
    if (span.pair) {
      span.byteCount = next_ + 1 < line_.size() ? 2 : 1;
      span.cells = 2;
    } else {
      span.byteCount = 1;
      span.cells = byte == '\t' && tabs_ ? tabSize_ - column_ % tabSize_ : 1;
    }
  }
  bool Special(const CellSpan& span) const { return span.pair || (tabs_ && line_[next_] == '\t'); }
  void Take(const CellSpan& span) {
    next_ += static_cast<std::size_t>(span.byteCount);
    column_ += span.cells;
  }

  // How many plain bytes follow from the current one (which is plain), at
  // most as many as columns remain up to `untilColumn`, and at least one.
  std::size_t PlainRun(std::int64_t untilColumn) const {
    const std::size_t rest = line_.size() - next_;
    const std::int64_t room = untilColumn - column_;
    const std::size_t limit =
        room < 1 ? 1 : (room < static_cast<std::int64_t>(rest) ? static_cast<std::size_t>(room) : rest);
    const char* const from = line_.data() + next_;
    if (!pairs_) {
      const void* tab = tabs_ ? std::memchr(from, '\t', limit) : nullptr;
      return tab ? static_cast<std::size_t>(static_cast<const char*>(tab) - from) : limit;
    }
    std::size_t n = 0;
    while (n < limit && (from[n] != '\t' || !tabs_) && static_cast<unsigned char>(from[n]) < 0x80) ++n;
    return n;
  }

  std::string_view line_;
  std::int64_t tabSize_;
  bool pairs_;
  bool tabs_;  // a tab reaches to the next stop
  std::size_t next_ = 0;
  std::int64_t column_ = 0;
};

}  // namespace mosaikon
