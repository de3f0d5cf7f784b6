// Tests of the modern rules of the ANSI interpreter: 256 and 24-bit colours
// in both their forms, the other colour numbers, iCE colours, one-based
// cursor positions, the deferred wrap, and the escapes terminals consume.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/ansi_interpreter.h"
#include "document/text_document.h"
#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

// A row as text and its cells' colours: two hex digits for an attribute
// byte, [text/background] for a pair, each colour "pN" or "#rrggbb".
using Row = std::pair<std::string, std::string>;

std::string ColourText(CellColour colour) {
  char text[16];
  if (IsPaletteIndex(colour)) {
    std::snprintf(text, sizeof text, "p%u", static_cast<unsigned>(colour));
  } else {
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>(colour >> 8 & 0xFF), static_cast<unsigned>(colour >> 16 & 0xFF));
  }
  return text;
}

std::string CellText(const TextDocument& document, std::int32_t line, std::int32_t index) {
  const std::uint32_t* cells = document.colours.Cells(line);
  const std::uint32_t value =
      cells ? cells[index] : static_cast<unsigned char>(document.lines[line].attributes.data()[index]);
  if (value >= kFirstPairCell) {
    const ColourPair& pair = document.colours.Pair(value);
    std::string text(1, '[');
    text += ColourText(pair.text);
    text += '/';
    text += ColourText(pair.background);
    return text += ']';
  }
  char text[4];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

std::vector<Row> ModernRows(const std::vector<std::string>& sourceLines, bool ice = false) {
  TextDocument document;
  ModernAnsiOptions options;
  options.iceColours = ice;
  testing::Interpret(sourceLines, document, &options);
  EXPECT_EQ(testing::CheckDocumentInvariants(document, 8), "");
  std::vector<Row> rows;
  for (std::int32_t i = 0; i < document.LineCount(); ++i) {
    std::string cells;
    for (std::int32_t k = 0; k < document.lines[i].length; ++k) {
      if (k > 0) cells += ' ';
      cells += CellText(document, i, k);
    }
    rows.push_back({std::string(document.lines[i].Text()), cells});
  }
  return rows;
}

// The colours of "X" written after `sequence`.
std::string ColourAfter(const std::string& sequence, bool ice = false) {
  const std::vector<Row> rows = ModernRows({sequence + "X"}, ice);
  return rows.empty() ? "<no rows>" : rows[0].second.substr(rows[0].second.rfind(' ') + 1);
}

TEST(ModernInterpreter, ColourTableOf256) {
  const std::pair<unsigned, CellColour> cases[] = {
      {0, 0},
      {9, 9},
      {15, 15},
      {16, OwnColour(0, 0, 0)},
      {21, OwnColour(0, 0, 255)},
      {196, OwnColour(255, 0, 0)},
      {231, OwnColour(255, 255, 255)},
      {67, OwnColour(95, 135, 175)},
      {232, OwnColour(8, 8, 8)},
      {255, OwnColour(238, 238, 238)},
  };
  for (const auto& [n, colour] : cases) EXPECT_EQ(ColourOfTable256(n), colour) << n;
}

TEST(ModernInterpreter, ColourSequences) {
  const std::pair<const char*, const char*> cases[] = {
      // The table: 0-15 are palette indices, so bold and reverse treat them as any index.
      {"\x1b[38;5;196m", "[#ff0000/p0]"},
      {"\x1b[38;5;1m", "10"},
      {"\x1b[38;5;1;1m", "90"},
      {"\x1b[48;5;232m", "[p7/#080808]"},
      {"\x1b[38;5;300;41m", "71"},  // out of range: only its own fields go
      {"\x1b[38;5m", "70"},         // cut short
      {"\x1b[38;7;41m", "71"},      // an unknown kind: 38 and the kind go
      // 24-bit, values clamped; the colon forms; the art editors' form.
      {"\x1b[38;2;10;20;30m", "[#0a141e/p0]"},
      {"\x1b[48;2;300;0;1000m", "[p7/#ff00ff]"},
      {"\x1b[38;2;255;0m", "70"},
      {"\x1b[38:2:10:20:30m", "[#0a141e/p0]"},
      {"\x1b[38:2::10:20:30m", "[#0a141e/p0]"},
      {"\x1b[38:5:196;44m", "[#ff0000/p4]"},
      {"\x1b[38:2:255:0;41m", "71"},  // a semicolon cuts the colon form short
      {"\x1b[38;5:3;31m", "10"},      // mixed forms: ignored with their own fields
      {"\x1b[4:3;31m", "70"},         // a colon outside 38/48: the sequence is ignored
      {"\x1b[0;255;128;0t", "[p7/#ff8000]"},
      {"\x1b[1;999;0;0t", "[#ff0000/p0]"},
      {"\x1b[1;0;0t", "70"},
      {"\x1b[2;1;2;3t", "70"},
      // The 16-colour numbers the classic rules ignore.
      {"\x1b[31m\x1b[m", "70"},
      {"\x1b[;31m", "10"},
      {"\x1b[31;44;39m", "74"},
      {"\x1b[31;44;49m", "10"},
      {"\x1b[1;31;22m", "10"},
      {"\x1b[91m", "90"},
      {"\x1b[104m", "7c"},
      // Brightness belongs to palette indices only.
      {"\x1b[1;31m\x1b[32m", "a0"},
      {"\x1b[38;2;1;2;3;1m", "[#010203/p0]"},
      {"\x1b[38;2;1;2;3m\x1b[32m", "20"},
      {"\x1b[38;2;1;2;3;44;7m", "[p4/#010203]"},
      {"\x1b[1;34;7m", "04"},
      // Concealed is a state that shows the background, extended or not.
      {"\x1b[8;44m", "44"},
      {"\x1b[8;44;28m", "74"},
      {"\x1b[48;2;1;2;3;8m", "[#010203/#010203]"},
      // Without the iCE flag blink changes nothing.
      {"\x1b[5;44m", "74"},
  };
  for (const auto& [sequence, colours] : cases) {
    EXPECT_EQ(ColourAfter(sequence), colours) << ::testing::PrintToString(std::string(sequence));
  }
}

TEST(ModernInterpreter, IceColoursMakeBlinkABrightBackground) {
  const std::pair<const char*, const char*> cases[] = {
      {"\x1b[5;44m", "7c"},        {"\x1b[6;41m", "79"},   {"\x1b[5;44m\x1b[25m", "74"},
      {"\x1b[5m\x1b[0;44m", "74"}, {"\x1b[5;8;44m", "cc"}, {"\x1b[5;48;5;196m", "[p7/#ff0000]"},
  };
  for (const auto& [sequence, colours] : cases) {
    EXPECT_EQ(ColourAfter(sequence, true), colours) << ::testing::PrintToString(std::string(sequence));
  }
}

TEST(ModernInterpreter, CellValuesOnlyWhereTheyAreNeeded) {
  TextDocument document;
  const ModernAnsiOptions options;
  testing::Interpret({"plain", "\x1b[38;5;196mred\x1b[0m ok", "\x1b[38;5;196m\x1b[2Jgone"}, document, &options);
  ASSERT_EQ(testing::LineTexts(document), (std::vector<std::string>{"", "", "gone", ""}));
  EXPECT_EQ(document.colours.Cells(0), nullptr);
  ASSERT_NE(document.colours.Cells(2), nullptr);
  EXPECT_EQ(document.colours.PairCount(), 1u);  // one pair, however often it is set
  EXPECT_EQ(document.features, kTable256Colours);
}

// Source lines and the rows they become, for one named behaviour.
struct RowsCase {
  const char* behaviour;
  std::vector<std::string> source;
  std::vector<std::string> rows;
};

void ExpectTexts(std::initializer_list<RowsCase> cases) {
  for (const RowsCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    std::vector<std::string> texts;
    for (const Row& row : ModernRows(c.source)) texts.push_back(row.first);
    EXPECT_EQ(texts, c.rows);
  }
}

TEST(ModernInterpreter, CursorPositionsAreOneBased) {
  ExpectTexts({
      {"home", {"ab\x1b[HX"}, {"Xb", ""}},
      {"row only", {"\x1b[3HX"}, {"", "", "X", ""}},
      {"column only", {"\x1b[;4HX"}, {"   X", ""}},
      {"both, zero counting as one", {"\x1b[2;3HX\x1b[0;0HY"}, {"Y", "  X"}},
      {"moves take their first parameter", {"\x1b[3;9Cx"}, {"   x", ""}},
      {"an empty or 0 move is one", {"abc\x1b[0D\x1b[Dx"}, {"axc", ""}},
      {"a colon makes a sequence void", {"ab\x1b[1:2Hx"}, {"abx", ""}},
  });
}

TEST(ModernInterpreter, WrapWaitsForTheNextCharacter) {
  const std::string full(80, 'x');
  ExpectTexts({
      {"an 80-cell line and a line break make one row", {full, "y"}, {full, "y", ""}},
      {"the next character goes to the next row", {full + "y"}, {full, "y", ""}},
      {"two full rows, then a break", {full + full, "y"}, {full, full, "y", ""}},
      // From column 80 a move right continues on the rows below, as the
      // classic rules have it.
      {"a move from the pending column", {full + "\x1b[5Cy"}, {full, "     y", ""}},
      {"a move left ends the wait", {full + "\x1b[Dy", "z"}, {std::string(79, 'x') + "y", "z", ""}},
      {"erase in line keeps the wait", {full + "\x1b[Ky"}, {full, "y", ""}},
      {"restore of a pending position", {full + "\x1b[s", "\x1b[uy"}, {full, "y", ""}},
  });
}

TEST(ModernInterpreter, EscapesTerminalsConsume) {
  ExpectTexts({
      {"a link string ended by BEL", {"a\x1b]8;;http://x.example/\x07link\x1b]8;;\x07!"}, {"alink!", ""}},
      {"a title ended by ESC \\", {"a\x1b]0;title\x1b\\b"}, {"ab", ""}},
      {"a string cut by the line's end", {"a\x1b]8;;http://x", "b"}, {"a", "b", ""}},
      {"a character set choice", {"a\x1b(Bb\x1b)0c\x1b#8d\x1b("}, {"abcd", ""}},
      {"two-byte escapes without effect", {"a\x1b=b\x1b>c\x1b\\d\x1bZe"}, {"abcde", ""}},
      {"save and restore",
       {"ABC\x1b"
        "7\x1b[5CX\x1b"
        "8Y"},
       {"ABCY    X", ""}},
      {"down, next row, up",
       {"ab\x1b"
        "Dc\x1b"
        "Ed\x1bM\x1bMe"},
       {"ae", "  c", "d"}},
      {"an ESC that starts nothing stays a cell", {"a\x1b b\x1b"}, {"a\x1b b\x1b", ""}},
      {"an unfinished sequence ends at the next ESC", {"\x1b[12\x1b]0;t\x07x"}, {"12x", ""}},
      {"private modes", {"a\x1b[?25hb"}, {"ab", ""}},
      {"a tab is one cell", {"\tx"}, {"\tx", ""}},
  });
}

TEST(ModernInterpreter, LimitsHold) {
  // The column bound and the row jump of the classic rules.
  const std::vector<Row> rows = ModernRows({"\x1b[99999999C\x1b[31mx\x1b[99999999;1Hy"});
  ASSERT_EQ(rows.size(), 102u + kMaxAnsiRowJump + 2);
  EXPECT_EQ(rows[102].first, std::string(32, ' ') + "x");
  EXPECT_EQ(rows[102 + kMaxAnsiRowJump].first, "y");
}

}  // namespace
}  // namespace mosaikon
