// Code page 437 as the cell font shows it: box drawing, blocks, shades,
// accented letters, and a glyph at every control position (0x01-0x1F, 0x7F).
// Both ways: what a byte shows, and which byte shows a character.
#pragma once

#include <cstdint>

namespace mosaikon {

// The character byte `byte` shows in the cell font. NUL, which never reaches
// a document, shows as a blank.
char16_t Cp437Glyph(unsigned char byte);

// The byte that shows `character`, or -1 when the code page has no glyph for
// it. Below 0x80 a character is its own byte; above, the control glyphs
// (U+263A is 0x01, U+2302 is 0x7F) count like any other.
int Cp437ByteOf(char32_t character);

// The same for many characters at once: for each character of the Basic
// Multilingual Plane from U+0080 on, its byte, 0 where there is none.
const std::uint8_t* Cp437ByteTable();

}  // namespace mosaikon
