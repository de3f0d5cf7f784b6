// Finding a piece of text in the document: in byte order, down or up from a
// position, with or without case, as a whole word or anywhere, never across a
// line break and never through half of a double-byte character, wrapping once
// past the end or the start.
#pragma once

#include <array>
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
  bool matchCase = false;  // off: letters match either case (see ByteLetters); other bytes exactly
  bool wholeWord = false;  // the bytes beside a match are not word bytes
  bool down = true;        // towards the end of the document
};

// What the bytes of a plain document are to a search: which belong to words
// and the upper-case form each one matches when case does not matter. Below
// 0x80 the rules are fixed whatever the system: A to Z fold with a to z, and
// the word bytes are those of IsWordByte. Bytes of 0x80 and above are
// neither letters nor fold until SetHighByte says how the system's code page
// has them. The search reads the table only for plain documents without
// double-byte pairs: in ANSI art such bytes are pictures, and in GB or Big5
// text they are halves of characters.
class ByteLetters {
 public:
  ByteLetters();

  // A byte of 0x80 or above: whether it is a letter or digit, and its upper
  // case. An upper case below 0x80 is ignored, so that no byte of the code
  // page ever matches an ASCII letter.
  void SetHighByte(unsigned char byte, bool letter, unsigned char upper);

  bool IsWord(unsigned char byte) const { return word_[byte]; }
  unsigned char Upper(unsigned char byte) const { return upper_[byte]; }

 private:
  std::array<bool, 256> word_{};
  std::array<unsigned char, 256> upper_{};
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
// An empty needle, or one with CR or LF, is never found, and neither is a
// match that ends beyond column 2147483647, the last one the view shows and
// a selection can reach (only lines of tabs get that wide). With
// rules.decodeMode above 0 a byte of 0x80 or above and the byte after it in
// its line are one character: a match starts and ends between characters,
// and the second byte of a pair compares exactly even when it is a letter.
// `letters` tells which bytes of a plain document are letters.
SearchResult SearchDocument(const TextDocument& document, const SearchQuery& query, TextPosition from,
                            const ColumnRules& rules, const ByteLetters& letters = ByteLetters());

// The first byte of `line` that starts at display column `column` or right
// of it, or the line's length when there is none: the first byte a stream
// selection from that cell takes, or the first one a selection ending there
// leaves out. Turns a selection's cell into a place to search from.
std::int32_t OffsetAtColumn(const TextLine& line, std::int64_t column, const ColumnRules& rules);

// The display column at which byte `offset` of `line` starts.
std::int64_t ColumnAtOffset(const TextLine& line, std::int32_t offset, const ColumnRules& rules);

}  // namespace mosaikon
