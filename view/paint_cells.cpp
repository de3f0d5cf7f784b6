// Painting of the visible rows, in client pixels. Document positions are
// 64-bit (a single line can be far wider than int pixels); they are turned
// into client positions near the client area before they reach the surface.
#include "view/paint_cells.h"

#include <algorithm>
#include <string>

#include "view/column_walk.h"

namespace mosaikon {
namespace {

struct Colours {
  Colour text;
  Colour background;
  bool operator==(const Colours&) const = default;
};

class CellPainter {
 public:
  CellPainter(const PaintInput& input, DrawingSurface& surface)
      : in_(input),
        surface_(surface),
        document_(*input.document),
        fill_(input.document->ansi ? Fill::kAnsiBlack : Fill::kBackground),
        rules_{input.tabSize, input.decodeMode, TabsAreCells(*input.document)},
        current_{input.foreColor, input.backColor} {}

  void Paint() {
    surface_.SelectFont(CellFont::kTerminal);
    const int cellWidth = in_.cell.cx;
    const int cellHeight = in_.cell.cy;
    if (cellWidth <= 0 || cellHeight <= 0) {
      FillArea({0, 0, in_.client.cx, in_.client.cy});
      return;
    }
    const std::int64_t firstRow = in_.offset.y / cellHeight;
    const std::int64_t endRow =
        std::min<std::int64_t>((in_.offset.y + in_.client.cy) / cellHeight + 1, document_.LineCount());
    int y = static_cast<int>(firstRow * cellHeight - in_.offset.y);
    for (std::int64_t row = firstRow; row < endRow; ++row) {
      PaintRow(static_cast<int>(row), y);
      y += cellHeight;
    }
    FillArea({0, y, in_.client.cx, in_.client.cy});
  }

 private:
  // `values` are the line's cell values when it has any (colours beyond the
  // attribute byte); a selected cell shows its two colours swapped.
  Colours CellColours(const TextLine& line, const std::uint32_t* values, std::int32_t index, bool selected) const {
    if (document_.ansi) {
      const std::uint32_t value =
          values
              ? values[index]
              : static_cast<unsigned char>(line.attributes.empty() ? kDefaultAttribute : line.attributes.data()[index]);
      const AnsiPalette& palette = *in_.palette;
      Colours colours;
      if (value < kFirstPairCell) {
        colours = {palette[value >> 4], palette[value & 15]};
      } else {
        const ColourPair& pair = document_.colours.Pair(value);
        colours = {ColourOf(pair.text, palette), ColourOf(pair.background, palette)};
      }
      return selected ? Colours{colours.background, colours.text} : colours;
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

  // The client x of a document column; columns near the client area only.
  int ClientX(std::int64_t column) const { return SaturateToInt(column * in_.cell.cx - in_.offset.x); }

  void PaintRow(int row, int y) {
    const TextLine& line = document_.lines[static_cast<std::size_t>(row)];
    const int cellWidth = in_.cell.cx;
    const int bottom = y + in_.cell.cy;
    // The columns that meet the client area: [firstColumn, endColumn).
    const std::int64_t firstColumn = in_.offset.x / cellWidth;
    const std::int64_t endColumn = (in_.offset.x + in_.client.cx + cellWidth - 1) / cellWidth;
    run_.clear();
    const std::uint32_t* values = document_.colours.Cells(row);
    ColumnWalk walk(line.Text(), rules_);
    walk.SkipTo(firstColumn);
    CellSpan span;
    while (walk.Next(span)) {
      if (span.column >= endColumn) {
        Flush(y);
        return;
      }
      const char* bytes = line.start + span.index;
      const auto byte = static_cast<unsigned char>(bytes[0]);
      const Colours colours =
          CellColours(line, values, span.index, in_.selection.IsSelected(row, SaturateToInt(span.column)));
      if (colours != current_) {
        Flush(y);
        current_ = colours;
      }
      const int x = ClientX(span.column);
      if (byte >= 0x80) {
        surface_.SetColours(current_.text, current_.background);
        Flush(y);
        if (span.pair) {
          // At the end of the line a blank stands in for the partner. The
          // two trailing blanks paint the second cell's background when the
          // glyph is narrower.
          const char pair[4] = {bytes[0], span.byteCount == 2 ? bytes[1] : ' ', ' ', ' '};
          surface_.SelectFont(CellFont::kChinese);
          surface_.DrawRun(x, y, std::string_view(pair, 4));
          surface_.SelectFont(CellFont::kTerminal);
        } else {
          surface_.DrawRun(x, y, std::string_view(bytes, 1));
        }
      } else if (byte == '\t' && !rules_.tabCells) {
        // Only the tab's cells that meet the client area.
        const std::int64_t from = std::max(span.column, firstColumn);
        if (run_.empty()) runX_ = ClientX(from);
        run_.append(static_cast<std::size_t>(std::min(span.End(), endColumn) - from), ' ');
      } else {
        if (run_.empty()) runX_ = x;
        run_.push_back(static_cast<char>(byte));
      }
    }
    Flush(y);
    FillArea({std::max(ClientX(walk.column()), 0), y, in_.client.cx, bottom});
  }

  const PaintInput& in_;
  DrawingSurface& surface_;
  const TextDocument& document_;
  const Fill fill_;
  const ColumnRules rules_;
  Colours current_;
  std::string run_;
  int runX_ = 0;
};

}  // namespace

void PaintCells(const PaintInput& input, DrawingSurface& surface) {
  CellPainter(input, surface).Paint();
}

}  // namespace mosaikon
