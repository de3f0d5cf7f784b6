// The selected text as the characters the view shows, for the clipboard's
// Unicode format beside the bytes of its ANSI one: box drawing pastes into a
// Unicode editor as box drawing, whatever the system's code page is.
#pragma once

#include <string>

#include "view/column_walk.h"
#include "view/selection.h"

namespace mosaikon {

// Each cell's byte as its glyph in the display code page: code page 437 with
// the glyphs at the control positions (as MB_USEGLYPHCHARS gives them), and
// in the GB2312 and Big5 modes (rules.decodeMode 1 and 2) a byte of 0x80 or
// above with the byte after it as one Chinese character. The line breaks
// between rows stay as they are (CR LF), and a tab that shows as blanks (not
// a tab cell of modern art) stays a tab.
std::u16string ShownText(const SelectedText& text, const ColumnRules& rules);

}  // namespace mosaikon
