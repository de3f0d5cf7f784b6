// The view's selection: two cells (anchor and caret) and its two shapes, a
// stream in reading order or a rectangle of columns, and the text it selects.
// The shape is not stored; it is read from the ColumnMode setting each time
// the selection is used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/text_document.h"
#include "view/column_walk.h"
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

// The text a selection stands for. Stream: the document's own bytes from the
// first selected byte to the last, line breaks and tabs as stored. Columns:
// one line per row of the rectangle, tabs expanded to blanks, joined by
// CR LF. Trailing CR and LF are removed (lines hold no CR or LF, so that is
// the breaks after the last row with bytes).
//
// The size is known before any text is made, so a caller can put the text
// straight into a block of exactly that size: a stream is a range of the
// document, and the columns are walked once to count and once to copy.
class SelectedText {
 public:
  // Works out what the selection covers; a selection that covers no byte
  // collapses (anchor = caret) and stands for the empty text.
  SelectedText(const TextDocument& document, Selection& selection, SelectionShape shape, const ColumnRules& rules);

  bool Empty() const { return size_ == 0; }
  std::uint64_t Size() const { return size_; }
  // Writes the text, exactly Size() bytes, to `out`.
  void CopyTo(char* out) const;
  // The text from its first byte that is not white space (0x09-0x0D, blank)
  // up to the CR or LF after it: what the hot key types, without making the
  // whole text.
  std::string FirstLine() const;

  // The text in its pieces, in order: bytes of the document's lines, blanks
  // that stand for a tab's columns in a rectangle, and the line breaks
  // between rows. For a reader that shows the cells' bytes differently
  // from the breaks between them.
  class PieceSink {
   public:
    virtual ~PieceSink() = default;
    virtual void Cells(std::string_view bytes) = 0;
    virtual void Blanks(std::int64_t count) = 0;
    virtual void Break(std::string_view bytes) = 0;
  };
  void Pieces(PieceSink& sink) const;

 private:
  const TextDocument& document_;
  NormalisedSelection selected_;
  ColumnRules rules_;
  const char* first_ = nullptr;  // stream: the document bytes [first_, first_ + size_)
  std::uint64_t size_ = 0;
};

// The selected text as one string (`text` is replaced); the selection
// collapses as SelectedText's does.
void BuildSelectedText(const TextDocument& document, Selection& selection, SelectionShape shape,
                       const ColumnRules& rules, std::string& text);

}  // namespace mosaikon
