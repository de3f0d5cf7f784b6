// Painting of the visible rows. Positions along a row are kept in 64 bits: a
// single line can be far wider than int pixels, and the walk over it counts
// columns from the line's start whatever is shown.
#include "view/paint_cells.h"

#include <algorithm>
#include <limits>
#include <string>

#include "view/column_walk.h"

namespace mosaikon {
namespace {

struct Colours {
  Colour text;
  Colour background;
  bool operator==(const Colours&) const = default;
};

int ToInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

class CellPainter {
 public:
  CellPainter(const PaintInput& input, DrawingSurface& surface)
      : in_(input),
        surface_(surface),
        document_(*input.document),
        fill_(input.document->ansi ? Fill::kAnsiBlack : Fill::kBackground),
        rules_{input.tabSize, input.decodeMode},
        current_{input.foreColor, input.backColor} {
    visible_ = {input.offset.x, input.offset.y, ToInt(std::int64_t{input.offset.x} + input.client.cx),
                ToInt(std::int64_t{input.offset.y} + input.client.cy)};
  }

  void Paint() {
    surface_.SelectFont(CellFont::kTerminal);
    const int cellWidth = in_.cell.cx;
    const int cellHeight = in_.cell.cy;
    if (cellWidth <= 0 || cellHeight <= 0) {
      FillArea(visible_);
      return;
    }
    const std::int64_t firstRow = visible_.top / cellHeight;
    const std::int64_t endRow = std::min<std::int64_t>(visible_.bottom / cellHeight + 1, document_.LineCount());
    int y = visible_.top - visible_.top % cellHeight;
    for (std::int64_t row = firstRow; row < endRow; ++row) {
      PaintRow(static_cast<int>(row), y);
      y += cellHeight;
    }
    FillArea({visible_.left, y, visible_.right, visible_.bottom});
  }

 private:
  Colours CellColours(const TextLine& line, std::int32_t index, bool selected) const {
    if (document_.ansi) {
      const auto a =
          static_cast<unsigned char>(line.attributes.empty() ? kDefaultAttribute : line.attributes.data()[index]);
      const AnsiPalette& palette = *in_.palette;
      return selected ? Colours{palette[a & 15], palette[a >> 4]} : Colours{palette[a >> 4], palette[a & 15]};
    }
    if (selected) return {in_.backColor, in_.foreColor};
    return {line.IsLink(index) ? in_.hyperLinkColor : in_.foreColor, in_.backColor};
  }

  // Empty rectangles (a row that ends at or beyond the right edge, no room
  // below the last row) draw nothing, so they are not handed on.
  void FillArea(const PixelRect& rect) {
    if (rect.left < rect.right && rect.top < rect.bottom) surface_.FillRect(rect, fill_);
  }

  void Flush(int y) {
    if (run_.empty()) return;
    surface_.SetColours(current_.text, current_.background);
    surface_.DrawRun(runX_, y, run_);
    run_.clear();
  }

  void PaintRow(int row, int y) {
    const TextLine& line = document_.lines[static_cast<std::size_t>(row)];
    const int cellWidth = in_.cell.cx;
    const int bottom = y + in_.cell.cy;
    if (line.length == 0) {
      FillArea({visible_.left, y, visible_.right, bottom});
      return;
    }
    run_.clear();
    ColumnWalk walk(line.Text(), rules_);
    CellSpan span;
    std::int64_t x = 0;
    while (walk.Next(span)) {
      // Nothing right of the client area shows; stopping here keeps a paint
      // of a very long line to the visible width.
      if (x >= visible_.right) {
        Flush(y);
        return;
      }
      const char* bytes = line.start + span.index;
      const auto byte = static_cast<unsigned char>(bytes[0]);
      const Colours colours = CellColours(line, span.index, in_.selection.IsSelected(row, ToInt(span.column)));
      if (colours != current_) {
        Flush(y);
        current_ = colours;
      }
      const std::int64_t right = x + span.cells * cellWidth;
      // Cells wholly left of the client area are not drawn; they only move
      // the position on.
      const bool shown = right > visible_.left;
      if (byte >= 0x80) {
        if (shown) {
          surface_.SetColours(current_.text, current_.background);
          Flush(y);
        }
        if (span.pair) {
          // At the end of the line a blank stands in for the partner. The
          // two trailing blanks paint the second cell's background when the
          // glyph is narrower.
          const char pair[4] = {bytes[0], span.byteCount == 2 ? bytes[1] : ' ', ' ', ' '};
          if (shown) {
            surface_.SelectFont(CellFont::kChinese);
            surface_.DrawRun(ToInt(x), y, std::string_view(pair, 4));
            surface_.SelectFont(CellFont::kTerminal);
          }
        } else if (shown) {
          surface_.DrawRun(ToInt(x), y, std::string_view(bytes, 1));
        }
      } else if (shown) {
        if (run_.empty()) runX_ = ToInt(x);
        if (byte == '\t') {
          run_.append(static_cast<std::size_t>(span.cells), ' ');
        } else {
          run_.push_back(static_cast<char>(byte));
        }
      }
      x = right;
    }
    Flush(y);
    FillArea({ToInt(x), y, visible_.right, bottom});
  }

  const PaintInput& in_;
  DrawingSurface& surface_;
  const TextDocument& document_;
  const Fill fill_;
  const ColumnRules rules_;
  PixelRect visible_;
  Colours current_;
  std::string run_;
  int runX_ = 0;
};

}  // namespace

void PaintCells(const PaintInput& input, DrawingSurface& surface) {
  CellPainter(input, surface).Paint();
}

}  // namespace mosaikon
