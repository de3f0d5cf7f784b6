// The view's selection: which cells a stream or a rectangle of columns
// covers, whichever end the gesture started from, and the text it stands
// for: stream copies of the document's own bytes, column copies with tabs
// expanded, double-byte pairs cut by an edge, and the collapse of a selection
// that covers nothing.
#include "view/selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/line_splitter.h"

namespace mosaikon {
namespace {

// Draws the selected cells of rows 0-3, columns 0-9 as '#' and '.'.
std::vector<std::string> Picture(const NormalisedSelection& selection) {
  std::vector<std::string> rows(4);
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 10; ++column) rows[row] += selection.IsSelected(row, column) ? '#' : '.';
  }
  return rows;
}

TEST(Selection, CoversTheCellsOfItsShapeWhicheverWayItWasDragged) {
  const std::vector<std::string> none(4, "..........");
  const struct {
    const char* name;
    Selection selection;
    SelectionShape shape;
    std::vector<std::string> picture;
  } cases[] = {
      {"stream dragged upwards, end cell excluded",
       {{1, 2}, {3, 0}},
       SelectionShape::kStream,
       {"...#######", "##########", "#.........", ".........."}},
      {"stream dragged left on one row",
       {{6, 1}, {2, 1}},
       SelectionShape::kStream,
       {"..........", "..####....", "..........", ".........."}},
      {"empty stream", {{4, 1}, {4, 1}}, SelectionShape::kStream, none},
      {"columns of zero width", {{4, 1}, {4, 3}}, SelectionShape::kColumns, none},
      {"columns starting left of the window",
       {{-2, -1}, {2, 1}},
       SelectionShape::kColumns,
       {"##........", "##........", "..........", ".........."}},
  };
  for (const auto& c : cases) EXPECT_EQ(Picture(NormalisedSelection(c.selection, c.shape)), c.picture) << c.name;
}

TextDocument Plain(const std::string& text) {
  TextDocument document;
  document.text = text;
  SplitLines(document.text.data(), static_cast<std::int32_t>(document.text.size()), 8, document.lines, document.width);
  return document;
}

std::string Build(const TextDocument& document, Selection& selection, SelectionShape shape, ColumnRules rules = {}) {
  std::string text = "stale";
  BuildSelectedText(document, selection, shape, rules, text);
  return text;
}

struct TextCase {
  const char* name;
  const char* document;
  Selection selection;
  const char* text;
  bool collapses;
};

void RunCases(SelectionShape shape, std::initializer_list<TextCase> cases, ColumnRules rules = {}) {
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TextDocument document = Plain(c.document);
    Selection selection = c.selection;
    EXPECT_EQ(Build(document, selection, shape, rules), c.text);
    EXPECT_EQ(selection.Empty(), c.collapses);
    if (c.collapses) {
      EXPECT_EQ(selection.anchor, c.selection.caret);
    }
  }
}

TEST(SelectedText, StreamTakesTheDocumentBytes) {
  RunCases(
      SelectionShape::kStream,
      {
          {"inside one line", "abcdef", {{1, 0}, {4, 0}}, "bcd", false},
          {"over lines with their own breaks", "abc\r\ndef\nghi", {{1, 0}, {2, 2}}, "bc\r\ndef\ngh", false},
          {"dragged upwards", "abcdefghij\nklmnopqrst\nuvwxyz", {{7, 2}, {3, 0}}, "defghij\nklmnopqrst\nuvwxyz", false},
          {"dragged downwards",
           "abcdefghij\nklmnopqrst\nuvwxyz",
           {{3, 0}, {7, 2}},
           "defghij\nklmnopqrst\nuvwxyz",
           false},
          {"end right of the last line's end", "abc\ndef\nghi", {{1, 0}, {40, 1}}, "bc\ndef", false},
          {"start right of a line's end", "ab\ncd\n\nef", {{5, 0}, {1, 3}}, "cd\n\ne", false},
          {"tabs stay tabs", "a\tb\tc", {{0, 0}, {17, 0}}, "a\tb\tc", false},
          {"start inside a tab leaves the tab out", "a\tbc", {{3, 0}, {10, 0}}, "bc", false},
          {"negative start is clipped", "abc\ndef", {{-4, -2}, {2, 1}}, "abc\nde", false},
          {"end below the last line", "abc\ndef", {{1, 0}, {2, 9}}, "bc\ndef", false},
          {"trailing breaks removed", "abc\r\n\r\ndef", {{0, 0}, {0, 2}}, "abc", false},
          {"start below the document collapses", "abc", {{1, 3}, {2, 5}}, "", true},
          {"nothing but line ends collapses", "ab\ncd", {{4, 0}, {6, 0}}, "", true},
          {"rows above the document collapse", "abc", {{3, -3}, {1, -1}}, "", true},
          {"empty selection gives nothing", "abc", {{1, 0}, {1, 0}}, "", true},
          {"select all skips leading empty lines", "\r\n\r\nab\tc\r\nd\n\n", {{0, 0}, {9, 5}}, "ab\tc\r\nd", false},
      });
}

TEST(SelectedText, ColumnsTakeARectangle) {
  RunCases(SelectionShape::kColumns,
           {
               {"short row, then empty row dropped at the end", "ab\nabcdefghij\n", {{4, 0}, {8, 2}}, "efgh", false},
               {"one line per row", "0123456\n0123456\n0123456", {{5, 0}, {2, 2}}, "234\r\n234\r\n234", false},
               {"empty rows inside are kept", "0123\n\n0123", {{1, 0}, {3, 2}}, "12\r\n\r\n12", false},
               {"tabs become blanks", "a\tb\n\tc", {{0, 0}, {9, 1}}, "a       b\r\n        c", false},
               {"rows above the first with bytes give nothing", "a\nb\n0123", {{2, 0}, {4, 2}}, "23", false},
               {"negative corner clipped", "abc\ndef", {{-3, -3}, {2, 1}}, "ab\r\nde", false},
               {"nothing in the rectangle collapses", "ab\ncd", {{5, 0}, {9, 1}}, "", true},
               {"zero width collapses", "abcd\nabcd", {{2, 0}, {2, 1}}, "", true},
               {"select all without end empty lines", "\n\nab\tc\r\nd\n\n", {{0, 0}, {9, 5}}, "ab      c\r\nd", false},
           });
}

TEST(SelectedText, PairsCutByAnEdge) {
  const ColumnRules gb{8, 1};
  // Columns: x 0, pair 1-2, y 3.
  RunCases(SelectionShape::kColumns,
           {
               {"left edge on the second half leaves the pair out", "x\xD6\xD0y", {{2, 0}, {4, 0}}, "y", false},
               {"right edge on the second half takes it whole", "x\xD6\xD0y", {{0, 0}, {2, 0}}, "x\xD6\xD0", false},
               {"both edges on pairs", "\xD6\xD0\xCE\xC4\xB1\xB2", {{1, 0}, {3, 0}}, "\xCE\xC4", false},
           },
           gb);
  RunCases(SelectionShape::kStream,
           {
               {"start on the second half leaves the pair out", "x\xD6\xD0y", {{2, 0}, {4, 0}}, "y", false},
               {"end on the second half takes it whole", "x\xD6\xD0y", {{0, 0}, {2, 0}}, "x\xD6\xD0", false},
           },
           gb);
  // Without decoding every byte is its own column.
  RunCases(SelectionShape::kColumns, {{"single bytes", "x\xD6\xD0y", {{2, 0}, {4, 0}}, "\xD0y", false}});
}

}  // namespace
}  // namespace mosaikon
