// Painting through a recording surface: runs of equal colours, tabs, links,
// selection colours, ANSI attributes, double-byte pairs and the fills of the
// empty areas, written down call by call.
#include "view/paint_cells.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "document/line_splitter.h"

namespace mosaikon {
namespace {

class RecordingSurface : public DrawingSurface {
 public:
  std::vector<std::string> calls;

  void SelectFont(CellFont font) override {
    calls.push_back(font == CellFont::kTerminal ? "font terminal" : "font chinese");
  }
  void SetColours(Colour text, Colour background) override {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "colours %06x on %06x", text, background);
    calls.push_back(buffer);
  }
  void DrawRun(int x, int y, std::string_view bytes) override {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " '" + Escaped(bytes) + "'");
  }
  void FillRect(const PixelRect& r, Fill fill) override {
    calls.push_back("fill " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                    "," + std::to_string(r.bottom) + (fill == Fill::kAnsiBlack ? " black" : " background"));
  }

  static std::string Escaped(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x20 && byte < 0x7F) {
        out += c;
      } else {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\x%02X", byte);
        out += buffer;
      }
    }
    return out;
  }
};

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlue = 0xFF0000;

// Ordinary palette-like colours, distinct per index, easy to read in traces.
AnsiPalette TestPalette() {
  AnsiPalette palette;
  for (unsigned i = 0; i < 16; ++i) palette[i] = 0x101010u * i;
  return palette;
}

TextDocument Plain(const std::string& text) {
  TextDocument document;
  document.text = text;
  SplitLines(document.text.data(), static_cast<std::int32_t>(document.text.size()), 8, document.lines, document.width);
  return document;
}

void SetLinkMask(TextLine& line, const std::string& mask) {
  ASSERT_EQ(mask.size(), static_cast<std::size_t>(line.length));
  line.linkMask.Assign(mask.data(), line.length);
}

// An ANSI document of rows with one attribute byte per byte.
TextDocument Ansi(const std::vector<std::pair<std::string, std::string>>& rows) {
  TextDocument document;
  document.ansi = true;
  for (const auto& row : rows) document.text += row.first + "\r\n";
  std::size_t position = 0;
  for (const auto& [bytes, attributes] : rows) {
    TextLine line(document.text.data() + position, static_cast<std::int32_t>(bytes.size()));
    line.attributes.Assign(attributes.data(), line.length);
    document.lines.push_back(std::move(line));
    document.width = std::max(document.width, static_cast<std::int32_t>(bytes.size()));
    position += bytes.size() + 2;
  }
  return document;
}

class PaintCellsTest : public ::testing::Test {
 protected:
  PaintCellsTest() {
    input_.cell = {8, 12};
    input_.client = {800, 24};
    input_.foreColor = kBlack;
    input_.backColor = kWhite;
    input_.hyperLinkColor = kBlue;
    input_.palette = &palette_;
    input_.tabSize = 8;
  }

  std::vector<std::string> Paint(const TextDocument& document) {
    input_.document = &document;
    RecordingSurface surface;
    PaintCells(input_, surface);
    return surface.calls;
  }

  AnsiPalette palette_ = TestPalette();
  PaintInput input_;
};

using Calls = std::vector<std::string>;

// One document painted into a client area at an offset, with the calls it
// must make. Plain text unless ANSI rows (bytes, attributes) are given.
struct PaintCase {
  const char* behaviour;
  std::string text;
  std::vector<std::pair<std::string, std::string>> ansiRows;
  std::vector<std::pair<std::size_t, std::string>> linkMasks;  // line, mask of '0'/'1'
  PixelSize client;
  PixelPoint offset{};
  std::optional<Selection> streamSelection;
  std::int32_t decodeMode = 0;
  std::int32_t tabSize = 8;
  Colour backColor = kWhite;
  Calls calls;
};

TEST_F(PaintCellsTest, DrawsRunsAndFillsCallByCall) {
  const PaintCase cases[] = {
      {.behaviour = "a tab and a link make two runs",
       .text = "a\thttp://x",
       .linkMasks = {{0, "0011111111"}},
       .client = {800, 24},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 'a       '", "colours ff0000 on ffffff",
                 "text 64,0 'http://x'", "fill 128,0,800,12 background", "fill 0,12,800,24 background"}},
      {.behaviour = "an empty line is a fill of its row",
       .text = "ab\n\ncd",
       .client = {80, 36},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 'ab'", "fill 16,0,80,12 background",
                 "fill 0,12,80,24 background", "colours 000000 on ffffff", "text 0,24 'cd'",
                 "fill 16,24,80,36 background"}},
      {.behaviour = "an ANSI document fills black whatever the back colour",
       .ansiRows = {{"ab", "\x70\x70"}},
       .client = {800, 24},
       .backColor = 0x123456,
       .calls = {"font terminal", "colours 707070 on 000000", "text 0,0 'ab'", "fill 16,0,800,12 black",
                 "fill 0,12,800,24 black"}},
      // Background nibbles 8-15 are drawn although the interpreter never makes them.
      {.behaviour = "ANSI runs split at every colour change",
       .ansiRows = {{"abcde", "\x70\x70\x4E\x4E\x70"}},
       .client = {48, 12},
       .calls = {"font terminal", "colours 707070 on 000000", "text 0,0 'ab'", "colours 404040 on e0e0e0",
                 "text 16,0 'cd'", "colours 707070 on 000000", "text 32,0 'e'", "fill 40,0,48,12 black"}},
      {.behaviour = "a selected ANSI cell swaps its palette colours",
       .ansiRows = {{"abc", "\x70\x70\x70"}},
       .client = {32, 12},
       .streamSelection = Selection{{1, 0}, {2, 0}},
       .calls = {"font terminal", "colours 707070 on 000000", "text 0,0 'a'", "colours 000000 on 707070",
                 "text 8,0 'b'", "colours 707070 on 000000", "text 16,0 'c'", "fill 24,0,32,12 black"}},
      {.behaviour = "a tab is highlighted as a whole",
       .text = "abcde\tf",
       .client = {80, 12},
       .streamSelection = Selection{{5, 0}, {6, 0}},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 'abcde'", "colours ffffff on 000000",
                 "text 40,0 '   '", "colours 000000 on ffffff", "text 64,0 'f'", "fill 72,0,80,12 background"}},
      // A selected link shows the selection colours.
      {.behaviour = "a stream selection leaves the area right of lines unhighlighted",
       .text = "abcdef\nghij\nklmn",
       .linkMasks = {{1, "0110"}},
       .client = {80, 36},
       .streamSelection = Selection{{3, 0}, {1, 2}},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 'abc'", "colours ffffff on 000000",
                 "text 24,0 'def'", "fill 48,0,80,12 background", "colours ffffff on 000000", "text 0,12 'ghij'",
                 "fill 32,12,80,24 background", "colours ffffff on 000000", "text 0,24 'k'", "colours 000000 on ffffff",
                 "text 8,24 'lmn'", "fill 32,24,80,36 background"}},
      {.behaviour = "a GB pair is drawn in the Chinese font",
       .text = "ab\xD6\xD0"
               "c",
       .client = {48, 12},
       .decodeMode = 1,
       .calls = {"font terminal", "colours 000000 on ffffff", "colours 000000 on ffffff", "text 0,0 'ab'",
                 "font chinese", "text 16,0 '\\xD6\\xD0  '", "font terminal", "colours 000000 on ffffff",
                 "text 32,0 'c'", "fill 40,0,48,12 background"}},
      {.behaviour = "a lone high byte at the line end pairs with a blank",
       .text = "a\xB1",
       .client = {48, 12},
       .decodeMode = 2,
       .calls = {"font terminal", "colours 000000 on ffffff", "colours 000000 on ffffff", "text 0,0 'a'",
                 "font chinese", "text 8,0 '\\xB1   '", "font terminal", "fill 24,0,48,12 background"}},
      // The pair takes columns 0-1, so the tab at column 2 runs to column 4.
      {.behaviour = "any positive decode mode pairs, and a pair counts two columns",
       .text = "\xA4\xA4\tz",
       .client = {48, 12},
       .streamSelection = Selection{{0, 0}, {1, 0}},
       .decodeMode = 3,
       .tabSize = 4,
       .calls = {"font terminal", "colours ffffff on 000000", "font chinese", "text 0,0 '\\xA4\\xA4  '",
                 "font terminal", "colours 000000 on ffffff", "text 16,0 '  z'", "fill 40,0,48,12 background"}},
      {.behaviour = "high bytes without decoding are single cells",
       .text = "\xD6\xD0",
       .client = {24, 12},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 '\\xD6'", "colours 000000 on ffffff",
                 "text 8,0 '\\xD0'", "fill 16,0,24,12 background"}},
      {.behaviour = "control bytes are ordinary cells",
       .text = "a\x01\x1b[",
       .client = {40, 12},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 'a\\x01\\x1B['", "fill 32,0,40,12 background"}},
      {.behaviour = "only rows meeting the client are visited",
       .text =
           [] {
             std::string text;
             for (int i = 0; i < 100; ++i) text.append("r").append(std::to_string(i)).append("\n");
             text.pop_back();
             return text;
           }(),
       .client = {24, 24},
       .offset = {0, 606},  // half a row into row 50
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,600 'r50'", "colours 000000 on ffffff",
                 "text 0,612 'r51'", "colours 000000 on ffffff", "text 0,624 'r52'"}},
      {.behaviour = "fills below the last line",
       .text = "abcde\nabcde",
       .client = {40, 40},
       .offset = {0, 6},
       .calls = {"font terminal", "colours 000000 on ffffff", "text 0,0 'abcde'", "colours 000000 on ffffff",
                 "text 0,12 'abcde'", "fill 0,24,40,46 background"}},
  };
  for (const PaintCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    TextDocument document = c.ansiRows.empty() ? Plain(c.text) : Ansi(c.ansiRows);
    for (const auto& [line, mask] : c.linkMasks) SetLinkMask(document.lines[line], mask);
    input_.client = c.client;
    input_.offset = c.offset;
    input_.selection =
        c.streamSelection ? NormalisedSelection(*c.streamSelection, SelectionShape::kStream) : NormalisedSelection();
    input_.decodeMode = c.decodeMode;
    input_.tabSize = c.tabSize;
    input_.backColor = c.backColor;
    EXPECT_EQ(Paint(document), c.calls);
  }
}

struct TabCase {
  const char* line;
  int tabSize;
  const char* run;
};

TEST_F(PaintCellsTest, EmptyDocumentFillsTheWholeArea) {
  input_.client = {100, 50};
  EXPECT_EQ(Paint(TextDocument()), (Calls{"font terminal", "fill 0,0,100,50 background"}));
  input_.offset = {16, 36};
  EXPECT_EQ(Paint(TextDocument()), (Calls{"font terminal", "fill 16,36,116,86 background"}));
}

TEST_F(PaintCellsTest, TabsExpandToTheNextStop) {
  const TabCase cases[] = {
      {"\tx", 8, "        x"},     {"abcde\tf", 8, "abcde   f"}, {"a\tb", 4, "a   b"},
      {"abcd\te", 4, "abcd    e"}, {"\t\t", 3, "      "},        {"a\tb", 1, "a b"},
  };
  input_.client = {800, 12};
  for (const TabCase& c : cases) {
    SCOPED_TRACE(c.line);
    input_.tabSize = c.tabSize;
    const Calls calls = Paint(Plain(c.line));
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2], std::string("text 0,0 '") + c.run + "'");
  }
}

TEST_F(PaintCellsTest, LongLineIsDrawnOnlyAsFarAsTheClient) {
  const TextDocument document = Plain(std::string(1000, 'x') + "\t" + std::string(1000, 'y'));
  input_.client = {80, 12};
  EXPECT_EQ(Paint(document), (Calls{"font terminal", "colours 000000 on ffffff", "text 0,0 'xxxxxxxxxx'"}));
  // Scrolled right: cells left of the client area are skipped, the tab that
  // reaches into it is drawn whole.
  input_.offset = {8 * 1003, 0};
  EXPECT_EQ(Paint(document), (Calls{"font terminal", "colours 000000 on ffffff", "text 8000,0 '        yyyyy'"}));
}

}  // namespace
}  // namespace mosaikon
