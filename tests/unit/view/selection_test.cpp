// The text a selection stands for: stream copies of the document's own
// bytes, column copies with tabs expanded, double-byte pairs cut by an edge,
// and the collapse of a selection that covers nothing.
#include "view/selection.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

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
    const TextDocument document = testing::SplitDocument(c.document);
    Selection selection = c.selection;
    std::string text = "stale";
    BuildSelectedText(document, selection, shape, rules, text);
    EXPECT_EQ(text, c.text);
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
          {"over lines with their own breaks", "abc\r\ndef\nghi", {{1, 0}, {2, 2}}, "bc\r\ndef\ngh", false},
          {"dragged upwards", "abcdefghij\nklmnopqrst\nuvwxyz", {{7, 2}, {3, 0}}, "defghij\nklmnopqrst\nuvwxyz", false},
          {"start right of a line's end", "ab\ncd\n\nef", {{5, 0}, {1, 3}}, "cd\n\ne", false},
          {"tabs stay tabs", "a\tb\tc", {{0, 0}, {17, 0}}, "a\tb\tc", false},
          {"start inside a tab leaves the tab out", "a\tbc", {{3, 0}, {10, 0}}, "bc", false},
          {"trailing breaks removed", "abc\r\n\r\ndef", {{0, 0}, {0, 2}}, "abc", false},
          {"nothing but line ends collapses", "ab\ncd", {{4, 0}, {6, 0}}, "", true},
          {"select all skips leading empty lines", "\r\n\r\nab\tc\r\nd\n\n", {{0, 0}, {9, 5}}, "ab\tc\r\nd", false},
      });
}

TEST(SelectedText, ColumnsTakeARectangle) {
  RunCases(SelectionShape::kColumns,
           {
               {"one line per row", "0123456\n0123456\n0123456", {{5, 0}, {2, 2}}, "234\r\n234\r\n234", false},
               {"empty rows inside are kept", "0123\n\n0123", {{1, 0}, {3, 2}}, "12\r\n\r\n12", false},
               {"tabs become blanks", "a\tb\n\tc", {{0, 0}, {9, 1}}, "a       b\r\n        c", false},
               {"nothing in the rectangle collapses", "ab\ncd", {{5, 0}, {9, 1}}, "", true},
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
  // Without decoding every byte is its own column.
  RunCases(SelectionShape::kColumns, {{"single bytes", "x\xD6\xD0y", {{2, 0}, {4, 0}}, "\xD0y", false}});
}

TEST(SelectedText, TabCellsStayTabs) {
  const ColumnRules tabCells{8, 0, true};
  RunCases(SelectionShape::kColumns, {{"one cell each", "a\tb\n\tc", {{1, 0}, {2, 1}}, "\t\r\nc", false}}, tabCells);
  RunCases(SelectionShape::kStream, {{"as stored", "a\tb\tc", {{1, 0}, {4, 0}}, "\tb\t", false}}, tabCells);
}

}  // namespace
}  // namespace mosaikon
