// Replays ANSI art (ESC "[" control sequences) onto an 80-column canvas of
// cells with colour attributes, and turns the canvas into the document.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "document/extended_colours.h"
#include "document/text_document.h"
#include "document/utf8_text.h"

namespace mosaikon {

// Colours in the platform's colour reference layout: 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) {
  return r | (g << 8) | (b << 16);
}

// The 16 colours the nibbles of an attribute byte select.
using AnsiPalette = std::array<Colour, 16>;
const AnsiPalette& DefaultAnsiPalette();

// Limits that keep hostile files bounded; real artwork stays far below them.
// - A parameter of any number of digits saturates at kMaxAnsiNumber.
// - C, H and u never put the cursor beyond column kMaxAnsiColumn; text written
//   there wraps down through rows of blanks as usual.
// - B, H and u place the cursor at most kMaxAnsiRowJump rows below the last
//   row of the canvas.
// - The canvas has at most kMaxAnsiRows rows. A row index beyond the last one
//   (a move, a line end, a wrap) stays on the last row, so further text lands
//   there; overflow past column 80 on that row wraps onto its own start.
// - K with the cursor beyond the row's end lengthens the row with blanks
//   (attribute 0x70) to the cursor, but to 80 cells at most, so no row is ever
//   wider than the canvas and the document's width is at most 80.
constexpr std::int32_t kMaxAnsiNumber = 2147483647;  // parameters saturate here
constexpr std::int32_t kMaxAnsiColumn = 8192;        // cursor column (about 100 canvas rows)
constexpr std::int32_t kMaxAnsiRowJump = 1000;       // rows a cursor move may add below the canvas
constexpr std::int32_t kMaxAnsiRows = 1 << 20;       // canvas height

// Builds `document`'s text, lines and width from `sourceLines` (split from the
// loaded text, which must stay alive during the call). Also notes in
// `document.features` the colour sequences the modern rules would show.
void InterpretAnsi(const std::vector<TextLine>& sourceLines, TextDocument& document);

struct ModernAnsiOptions {
  // The file's SAUCE record has the iCE flag: blink (5, 6) is a bright
  // background instead.
  bool iceColours = false;
  // The text runs are UTF-8, decoded this way (cells, with a stand-in for the
  // arrow); null for code page 437 art.
  const Utf8Decoding* utf8 = nullptr;
};

// The same with the modern rules: 256 and 24-bit colours (into
// `document.colours`), the rest of the usual colour numbers, iCE colours,
// one-based cursor positions, the wrap deferred until the next character,
// and the other escape sequences of terminals consumed. Notes in
// `document.features` the colours it used. The limits above hold here too.
void InterpretModernAnsi(const std::vector<TextLine>& sourceLines, TextDocument& document,
                         const ModernAnsiOptions& options);

// The colour a cell colour stands for.
inline Colour ColourOf(CellColour colour, const AnsiPalette& palette) {
  return IsPaletteIndex(colour) ? palette[colour] : colour & 0x00FFFFFF;
}

}  // namespace mosaikon
