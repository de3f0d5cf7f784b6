// UTF-8 text for Modern Rendering: telling a UTF-8 file from code page 437
// art, and turning its characters into the bytes of the code page the view
// shows (437 in the cell font, 936 or 950 in the GB2312 and Big5 modes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mosaikon {

struct Utf8Decoding {
  std::int32_t decodeMode = 0;  // DecodeMode: 0 code page 437, 1 GB2312 (936), 2 Big5 (950)
  // ANSI art: a character shown at a control position (U+263A at 0x01, U+25D9
  // at 0x0A ...) becomes that byte, a cell of its own. Plain text: the three
  // that would be a tab or a line break there (U+25CB, U+25D9, U+266A)
  // become "?" instead, so that the file's own bytes alone break its lines.
  bool cells = false;
  // The byte U+2192 becomes (0x1A in code page 437). The interpreter asks for
  // a stand-in, so that a decoded arrow is never taken for an end-of-file mark.
  char arrow = '\x1A';
};

// The file starts with the UTF-8 byte-order mark EF BB BF.
bool HasUtf8Mark(std::string_view bytes);

// The bytes are UTF-8 throughout (no overlong forms, no surrogates, nothing
// above U+10FFFF) and hold at least one character of two bytes or more:
// plain ASCII needs no decoding, and code page 437 art almost never passes.
bool IsUtf8Text(std::string_view bytes);

// Decodes `count` bytes at `in` into `out`, which may be `in` itself: the
// output never runs ahead of the input. Returns the number of bytes written.
// Bytes below 0x80 are the file's own and stay as they are, except NUL, which
// becomes a blank. Every other character becomes its byte (or, in 936 and
// 950, its two bytes) without best-fit substitutes: a character the code
// page lacks becomes one "?", a character beyond U+FFFF too; U+00A0, the
// no-break space at 0xFF of code page 437, becomes a blank. Each byte that
// belongs to no complete valid character becomes one "?".
std::size_t DecodeUtf8(const char* in, std::size_t count, char* out, const Utf8Decoding& how);

}  // namespace mosaikon
