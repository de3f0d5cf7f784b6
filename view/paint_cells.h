// Turns the visible rows of the document into drawing calls: runs of cells of
// equal colours, double-byte characters in the Chinese font, and fills of the
// empty areas. The drawing itself happens behind DrawingSurface (GDI in the
// program, a recorder in the tests).
#pragma once

#include <cstdint>
#include <string_view>

#include "document/ansi_interpreter.h"
#include "document/text_document.h"
#include "view/scroll_model.h"
#include "view/selection.h"

namespace mosaikon {

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

enum class CellFont { kTerminal, kChinese };

// The fill of empty areas: black for ANSI art, the BackColor brush otherwise.
enum class Fill { kAnsiBlack, kBackground };

// Drawing in client pixels. The surface restores whatever font it had before
// the first SelectFont when it is done.
class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;
  virtual void SelectFont(CellFont font) = 0;
  virtual void SetColours(Colour text, Colour background) = 0;
  // Draws the bytes opaquely (cell backgrounds included) from (x, y).
  virtual void DrawRun(int x, int y, std::string_view bytes) = 0;
  virtual void FillRect(const PixelRect& rect, Fill fill) = 0;
};

struct PaintInput {
  const TextDocument* document = nullptr;
  PixelSize cell;     // measured; painting needs both sides positive
  PixelPoint offset;  // the document pixel at the client's top-left corner
  PixelSize client;
  NormalisedSelection selection;
  Colour foreColor = 0;
  Colour backColor = 0;
  Colour hyperLinkColor = 0;
  const AnsiPalette* palette = nullptr;
  std::int32_t tabSize = 8;
  std::int32_t decodeMode = 0;  // above 0: bytes of 0x80 and above pair up
};

// Draws the rows that meet the client area and fills everything else of it.
// Coordinates handed to the surface stay within about a cell of the client
// area however far the view is scrolled, and so does the text drawn: a row
// is walked quickly up to its first visible column and no further than its
// last one.
void PaintCells(const PaintInput& input, DrawingSurface& surface);

}  // namespace mosaikon
