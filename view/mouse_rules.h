// What the mouse finds in the document: the link under a cell, the word under
// a cell for a double-click, and the way a drag held outside the window
// scrolls. Cells are display columns and line indices, as painted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "document/text_document.h"
#include "view/column_walk.h"
#include "view/scroll_model.h"
#include "view/selection.h"

namespace mosaikon {

// Bytes [first, end) of a line.
struct ByteRange {
  std::int32_t first = 0;
  std::int32_t end = 0;
  bool operator==(const ByteRange&) const = default;
};

// The link under `cell`: the maximal run of marked bytes around the byte whose
// columns include the cell's column (a double-byte character counts by its
// first byte, as painting colours it). None off the document, left of or past
// the end of the line, or on an unmarked byte.
std::optional<ByteRange> LinkAt(const TextDocument& document, CellPosition cell, const ColumnRules& rules);

// The longest address a click hands to the system's open call, in the
// characters that call works on (a link's own bytes after the call has
// expanded the environment variables in it). Wine's open call overruns a
// fixed buffer on the stack from 984 such characters on, whatever program
// opens the address, and takes the whole process down; this bound stays
// well below that. Longer links are offered for copying instead.
constexpr std::size_t kMaxOpenedAddress = 900;

// The selection a double-click on `cell` makes: the run of word bytes around
// it on its line, the end column excluded. Word bytes are 0x01 to 0x7F that
// are neither white space nor punctuation in the C locale. None when the cell
// is off the line or not on a word byte.
std::optional<Selection> WordAt(const TextDocument& document, CellPosition cell, const ColumnRules& rules);

// Word bytes, for double-click selection and whole-word search: 0x01 to
// 0x7F, neither white space nor punctuation in the C locale. Control bytes
// other than white space count as word bytes.
bool IsWordByte(unsigned char byte);

// The scroll action a drag held at `position` on an axis of `length` client
// pixels asks for: a line towards the pointer when it is outside, else none.
std::optional<ScrollAction> EdgeScroll(int position, int length);

}  // namespace mosaikon
