// Finding a piece of text in the document: in byte order, down or up from a
// position, with or without case, as a whole word or anywhere, never across a
// line break and never through half of a double-byte character, wrapping once
// past the end or the start.
#pragma once

#include <cstdint>
#include <string>

#include "document/text_document.h"
#include "view/mouse_rules.h"
#include "view/scroll_model.h"
#include "view/selection.h"

namespace mosaikon {

// A byte of the document: line index and offset in the line (0 to length).
struct TextPosition {
  std::int32_t line = 0;
  std::int32_t offset = 0;
  bool operator==(const TextPosition&) const = default;
};

struct SearchQuery {
  std::string needle;      // bytes in the ANSI code page; no line breaks
  bool matchCase = false;  // off: ASCII letters match either case; other bytes exactly
  bool wholeWord = false;  // the bytes beside a match are not word bytes
  bool down = true;        // towards the end of the document
};

struct SearchResult {
  bool found = false;
  bool wrapped = false;  // the match lies beyond the end (down) or the start (up)
  TextPosition begin;    // the match's first byte
  TextPosition end;      // one past its last byte, on the same line
  // The match as a selection: display columns [start.column, end.column) of
  // row start.row (= end.row), tabs and double-byte pairs counted.
  CellPosition startCell;
  CellPosition endCell;
};

// Searches `document` from `from`. Down: the first match that starts at or
// after `from`; up: the last match that ends at or before `from`. So Find Next
// passes a match's end going down and its begin going up, and never finds the
// same match again. When nothing lies that way, the search goes on once from
// the other end of the document up to where it began, and reports `wrapped`.
// An empty needle, or one with CR or LF, is never found. With
// rules.decodeMode above 0 a byte of 0x80 or above and the byte after it in
// its line are one character: a match starts and ends between characters,
// and the second byte of a pair compares exactly even when it is a letter.
SearchResult SearchDocument(const TextDocument& document, const SearchQuery& query, TextPosition from,
                            const ColumnRules& rules);

// The first byte of `line` that starts at display column `column` or right
// of it, or the line's length when there is none: the first byte a stream
// selection from that cell takes, or the first one a selection ending there
// leaves out. Turns a selection's cell into a place to search from.
std::int32_t OffsetAtColumn(const TextLine& line, std::int64_t column, const ColumnRules& rules);

// The display column at which byte `offset` of `line` starts.
std::int64_t ColumnAtOffset(const TextLine& line, std::int32_t offset, const ColumnRules& rules);

}  // namespace mosaikon
