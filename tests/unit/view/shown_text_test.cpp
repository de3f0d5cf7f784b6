// The clipboard's Unicode text: the selected cells as the characters the
// view shows, the breaks between rows kept, in both shapes and in the
// Chinese modes.
#include "view/shown_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

std::u16string Shown(const TextDocument& document, Selection selection, SelectionShape shape,
                     const ColumnRules& rules) {
  const SelectedText text(document, selection, shape, rules);
  return ShownText(text, rules);
}

TEST(ShownText, CellsAsTheirGlyphsBreaksAsTheyAre) {
  const TextDocument plain = testing::SplitDocument("a\t\x01\xC4\xB3\r\n\xDB\x1b\nlast");
  EXPECT_EQ(Shown(plain, {{0, 0}, {4, 2}}, SelectionShape::kStream, {}),
            u"a\t\u263A\u2500\u2502\r\n\u2588\u2190\nlast");
  // A rectangle: its rows joined by CR LF, a tab's columns as blanks.
  EXPECT_EQ(Shown(plain, {{1, 0}, {9, 1}}, SelectionShape::kColumns, {}), u"       \u263A\r\n\u2190");

  // Modern art: a tab is a cell with its glyph, and so is a decoded line-break glyph.
  TextDocument art;
  LoadOptions modern;
  modern.modern = true;
  art.Build("\x1b[0m\u25D9\t\u2500\r\nx", modern);
  const ColumnRules cells{8, 0, true};
  EXPECT_EQ(Shown(art, {{0, 0}, {1, 1}}, SelectionShape::kStream, cells), u"\u25D9\u25CB\u2500\r\nx");

  // GB2312: a pair is one character.
  const TextDocument gb = testing::SplitDocument(
      "\xD6\xD0"
      "a\xCE\xC4");
  EXPECT_EQ(Shown(gb, {{0, 0}, {5, 0}}, SelectionShape::kStream, {8, 1}), u"\u4E2Da\u6587");
}

}  // namespace
}  // namespace mosaikon
