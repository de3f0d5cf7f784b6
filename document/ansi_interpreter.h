// Replays ANSI art (ESC "[" control sequences) onto an 80-column canvas of
// cells with colour attributes, and turns the canvas into the document.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "document/text_document.h"

namespace mosaikon {

// Colours in the platform's colour reference layout: 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// The 16 colours the nibbles of an attribute byte select.
using AnsiPalette = std::array<Colour, 16>;
const AnsiPalette& DefaultAnsiPalette();

// Limits that keep hostile files bounded; real artwork stays far below them.
constexpr std::int32_t kMaxAnsiNumber = 2147483647;  // parameters saturate here
constexpr std::int32_t kMaxAnsiColumn = 8192;        // cursor column (about 100 canvas rows)
constexpr std::int32_t kMaxAnsiRowJump = 1000;       // rows a cursor move may add below the canvas
constexpr std::int32_t kMaxAnsiRows = 1 << 20;       // canvas height

// Builds `document`'s text, lines and width from `sourceLines` (split from the
// loaded text, which must stay alive during the call).
void InterpretAnsi(const std::vector<TextLine>& sourceLines, TextDocument& document);

}  // namespace mosaikon
