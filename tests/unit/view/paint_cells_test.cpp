// Painting, checked on the picture it leaves: a surface that rasterises the
// text runs and fills into the cells of the client area, each with its
// character, text colour and background colour, and the expectations written
// as rows of that grid.
#include "view/paint_cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace mosaikon {
namespace {

// Palette index i is 0x101010 * i, so index 0 is the black of ANSI fills.
const AnsiPalette kPalette = [] {
  AnsiPalette palette;
  for (unsigned i = 0; i < 16; ++i) palette[i] = 0x101010u * i;
  return palette;
}();

// Tracks every pixel of the client area (clipped as the platform clips), so
// gaps and half-covered cells show; the cells are those of the document.
// Rows() gives each row of cells as "characters|text colours|background
// colours", then "|" and the cells drawn in the Chinese font ('c') when there
// are any. Colours are letters: F, B and L for ForeColor, BackColor and
// HyperLinkColor, a hex digit for a palette entry, '*' for anything else; a
// cell without text (a fill) has a blank text colour. '?' marks a cell
// nothing painted, '!' one painted unevenly.
class CellGrid : public DrawingSurface {
 public:
  explicit CellGrid(const PaintInput& input)
      : in_(input), pixels_(static_cast<std::size_t>(input.client.cx) * input.client.cy, {'?', '?', '?', ' '}) {}

  void SelectFont(CellFont font) override { font_ = font == CellFont::kChinese ? 'c' : ' '; }
  void SetColours(Colour text, Colour background) override { text_ = Letter(text), back_ = Letter(background); }

  void DrawRun(int x, int y, std::string_view bytes) override {
    if ((x + in_.offset.x) % in_.cell.cx != 0 || (y + in_.offset.y) % in_.cell.cy != 0)
      ADD_FAILURE() << "run off the cell grid at " << x << "," << y;
    for (const char byte : bytes) {
      Paint({x, y, x + in_.cell.cx, y + in_.cell.cy}, {byte, text_, back_, font_});
      x += in_.cell.cx;
      ++drawnCells;
    }
  }
  void FillRect(const PixelRect& rect, Fill fill) override {
    Paint(rect, {' ', ' ', fill == Fill::kAnsiBlack ? Letter(0) : Letter(in_.backColor), ' '});
  }

  std::vector<std::string> Rows() const {
    const PixelSize cell = in_.cell;
    const PixelRect client = Client();
    std::vector<std::string> rows;
    for (int top = static_cast<int>(-(in_.offset.y % cell.cy)); top < client.bottom; top += cell.cy) {
      std::string parts[4];
      for (int left = static_cast<int>(-(in_.offset.x % cell.cx)); left < client.right; left += cell.cx) {
        // The visible part of the cell must look alike all over.
        Pixel pixel = At(std::max(left, client.left), std::max(top, client.top));
        for (int y = std::max(top, client.top); y < std::min(top + cell.cy, client.bottom); ++y) {
          for (int x = std::max(left, client.left); x < std::min(left + cell.cx, client.right); ++x) {
            if (At(x, y) != pixel) pixel = {'!', '!', '!', ' '};
          }
        }
        for (int k = 0; k < 4; ++k) parts[k] += pixel[k];
      }
      rows.push_back(parts[0] + "|" + parts[1] + "|" + parts[2]);
      if (parts[3].find('c') != std::string::npos) rows.back().append("|").append(parts[3]);
    }
    return rows;
  }

  int drawnCells = 0;

 private:
  using Pixel = std::array<char, 4>;  // character, text colour, background colour, font

  PixelRect Client() const { return {0, 0, in_.client.cx, in_.client.cy}; }
  void Paint(const PixelRect& rect, const Pixel& pixel) {
    const PixelRect client = Client();
    for (int y = std::max(rect.top, client.top); y < std::min(rect.bottom, client.bottom); ++y) {
      for (int x = std::max(rect.left, client.left); x < std::min(rect.right, client.right); ++x)
        pixels_[Index(x, y)] = pixel;
    }
  }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * in_.client.cx + static_cast<std::size_t>(x);
  }
  const Pixel& At(int x, int y) const { return pixels_[Index(x, y)]; }
  char Letter(Colour colour) const {
    if (colour == in_.foreColor) return 'F';
    if (colour == in_.backColor) return 'B';
    if (colour == in_.hyperLinkColor) return 'L';
    const auto entry = std::find(in_.palette->begin(), in_.palette->end(), colour);
    return entry == in_.palette->end() ? '*' : "0123456789abcdef"[entry - in_.palette->begin()];
  }

  PaintInput in_;
  std::vector<Pixel> pixels_;
  char font_ = ' ';
  char text_ = '*';  // colours not set yet
  char back_ = '*';
};

TextDocument Built(const std::string& bytes) {
  TextDocument document;
  document.Build(bytes, {});
  return document;
}

class PaintCellsTest : public ::testing::Test {
 protected:
  CellGrid Paint(const TextDocument& document) {
    input_.document = &document;
    CellGrid grid(input_);
    PaintCells(input_, grid);
    return grid;
  }

  // Text, background and link colours with unequal bytes: no palette entry has them.
  PaintInput input_{
      .cell = {8, 12}, .foreColor = 0x102030, .backColor = 0xF0E0D0, .hyperLinkColor = 0xFF0000, .palette = &kPalette};
};

// A file's bytes painted into a client area, and the grid they must leave.
struct PaintCase {
  const char* behaviour;
  std::string text;
  PixelSize client;
  PixelPoint offset{};
  Selection selection{};
  SelectionShape shape = SelectionShape::kStream;
  std::int32_t decodeMode = 0;
  std::int32_t tabSize = 8;
  std::vector<std::string> rows;
};

TEST_F(PaintCellsTest, LeavesTheGridOfCells) {
  std::string numbered;
  for (int i = 0; i < 52; ++i) numbered.append("r").append(std::to_string(i)).append("\tz\n");
  numbered.pop_back();
  const PaintCase cases[] = {
      {.behaviour = "a tab then a link: the plain colours, filled to the right and below",
       .text = "a\thttp://x",
       .client = {160, 24},
       .rows = {"a       http://x    |FFFFFFFFLLLLLLLL    |BBBBBBBBBBBBBBBBBBBB",
                "                    |                    |BBBBBBBBBBBBBBBBBBBB"}},
      {.behaviour = "tabs from a stop and after another; an empty line is filled",
       .text = "abc\t\n\n\t\tz",
       .client = {64, 36},
       .tabSize = 3,
       .rows = {"abc     |FFFFFF  |BBBBBBBB", "        |        |BBBBBBBB", "      z |FFFFFFF |BBBBBBBB"}},
      // Attributes 0x70, then 0x43 (blue on yellow), then 0x70 again.
      {.behaviour = "ANSI: attribute colours, selected cells swapped, black fills",
       .text = "ab\x1b[34;43mcd\x1b[0me",
       .client = {56, 36},
       .selection = {{1, 0}, {3, 0}},
       .rows = {"abcde  |70347  |0743000", "       |       |0000000", "       |       |0000000"}},
      // Dragged upwards; the selected link shows the selection colours.
      {.behaviour = "a stream selection: a tab highlighted whole, nothing right of the lines",
       .text = "abcde\tf\nhttp://\nklmn",
       .client = {80, 36},
       .selection = {{1, 2}, {5, 0}},
       .rows = {"abcde   f |FFFFFBBBB |BBBBBFFFFB", "http://   |BBBBBBB   |FFFFFFFBBB",
                "klmn      |BFFF      |FBBBBBBBBB"}},
      {.behaviour = "a column selection: only cells with bytes inside the rectangle",
       .text = "0123456\n01\n0123456",
       .client = {64, 36},
       .selection = {{5, 0}, {2, 2}},
       .shape = SelectionShape::kColumns,
       .rows = {"0123456 |FFBBBFF |BBFFFBBB", "01      |FF      |BBBBBBBB", "0123456 |FFBBBFF |BBFFFBBB"}},
      {.behaviour = "GB: a pair over two cells in the Chinese font",
       .text = "ab\326\320c",
       .client = {56, 12},
       .decodeMode = 1,
       .rows = {"ab\326\320c  |FFFFF  |BBBBBBB|  cc   "}},
      {.behaviour = "Big5: a high byte ending the line pairs with a blank",
       .text = "a\xB1",
       .client = {48, 12},
       .decodeMode = 2,
       .rows = {"a\xB1    |FFF   |BBBBBB| cc   "}},
      // Only column 0 is selected; the pair takes columns 0-1, so the tab runs to column 4.
      {.behaviour = "any positive mode pairs; a pair counts two columns",
       .text = "\xA4\xA4\tz",
       .client = {48, 12},
       .selection = {{0, 0}, {1, 0}},
       .decodeMode = 3,
       .tabSize = 4,
       .rows = {"\xA4\xA4  z |BBFFF |FFBBBB|cc    "}},
      {.behaviour = "without decoding high bytes and control bytes are single cells",
       .text = "\xD6\xD0\x01\x1b",
       .client = {48, 12},
       .rows = {"\xD6\xD0\x01\x1b  |FFFF  |BBBBBB"}},
      // Columns 1-4 of rows 50-53 show, the first and last of each only in part.
      {.behaviour = "scrolled by part of a cell both ways, past the last line",
       .text = numbered,
       .client = {24, 36},
       .offset = {12, 606},
       .tabSize = 4,
       .rows = {"50 z|FFFF|BBBB", "51 z|FFFF|BBBB", "    |    |BBBB", "    |    |BBBB"}},
      {.behaviour = "no lines: all filled", .client = {16, 12}, .offset = {16, 36}, .rows = {"  |  |BB"}},
  };
  for (const PaintCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const TextDocument document = Built(c.text);
    input_.client = c.client;
    input_.offset = c.offset;
    input_.selection = NormalisedSelection(c.selection, c.shape);
    input_.decodeMode = c.decodeMode;
    input_.tabSize = c.tabSize;
    EXPECT_EQ(Paint(document).Rows(), c.rows);
  }
}

TEST_F(PaintCellsTest, ScrolledFarRightDrawsOnlyTheCellsInView) {
  // A tab that reaches into the client from the left is drawn whole.
  input_.client = {80, 24};
  input_.offset = {8 * 1003, 0};
  CellGrid grid = Paint(Built(std::string(1000, 'x') + "\t" + std::string(1000, 'y')));
  EXPECT_EQ(grid.Rows()[0], "     yyyyy|FFFFFFFFFF|BBBBBBBBBB");
  EXPECT_LT(grid.drawnCells, 30);
  // The end of a line wider than int pixels: 300,000 tabs of 1000 columns.
  input_.tabSize = 2'147'483'647;
  input_.offset = {std::int64_t{299'999'993} * 8 + 3, 0};
  grid = Paint(Built(std::string(300'000, '\t') + "END"));
  EXPECT_EQ(grid.Rows()[0], "       END |FFFFFFFFFF |BBBBBBBBBBB");
  EXPECT_LT(grid.drawnCells, 30);
}

// Colours beyond the attribute byte: 0xA0A0A0, 0x202020 and 0x303030 are
// entries 10, 2 and 3 of the test palette, so the grid can name them. A tab
// of modern art is one cell drawn with its own byte.
TEST_F(PaintCellsTest, ModernArtShowsItsOwnColoursAndTabCells) {
  TextDocument document;
  LoadOptions modern;
  modern.modern = true;
  document.Build("\x1b[38;2;160;160;160;48;2;32;32;32mab\x1b[0m\tc\x1b[38;5;1;48;2;48;48;48mz", modern);
  input_.client = {64, 12};
  input_.selection = NormalisedSelection({{1, 0}, {2, 0}}, SelectionShape::kStream);
  EXPECT_EQ(Paint(document).Rows(), (std::vector<std::string>{"ab\tcz   |a2771   |2a003000"}));
}

}  // namespace
}  // namespace mosaikon
