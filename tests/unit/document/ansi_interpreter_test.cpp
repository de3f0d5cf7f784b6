// Tests of the ANSI interpreter through InterpretAnsi: colours, cursor moves,
// wrapping at 80 columns, erasing, the SAUCE cut, and the limits that keep
// hostile files bounded.
#include "document/ansi_interpreter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/text_document.h"
#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

using Row = std::pair<std::string, std::string>;  // text, attribute bytes

std::string Fill(std::size_t count, int attribute) {
  return std::string(count, static_cast<char>(attribute));
}
Row Plain(const std::string& text) {
  return {text, Fill(text.size(), 0x70)};
}
const Row kEmpty{};

// The rows, after checking the shape every ANSI document has.
std::vector<Row> RowsOf(const std::vector<std::string>& sourceLines) {
  TextDocument document;
  testing::Interpret(sourceLines, document);
  EXPECT_EQ(testing::CheckDocumentInvariants(document, 8), "");
  std::vector<Row> rows;
  for (const TextLine& line : document.lines)
    rows.push_back({std::string(line.Text()), std::string(line.Attributes())});
  return rows;
}

std::string Repeat(const std::string& piece, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += piece;
  return result;
}

// Among them: brightness stays across colour changes, reverse drops it from
// the background, empty parameters are dropped, leading zeros read, a skipped
// byte does not end a number, and no parameters change nothing.
TEST(AnsiInterpreter, GraphicRenditionSetsAttribute) {
  const std::pair<const char*, int> cases[] = {
      {"\x1b[1;31m", 0x90},      {"\x1b[44m", 0x74},        {"\x1b[7m", 0x07},
      {"\x1b[8m", 0x00},         {"\x1b[5;40m", 0x70},      {"\x1b[m", 0x70},
      {"\x1b[1;32;0m", 0x70},    {"\x1b[7;7m", 0x70},       {"\x1b[1;34;7m", 0x04},
      {"\x1b[44;1m", 0xF4},      {"\x1b[47m\x1b[8m", 0x77}, {"\x1b[4;5;22;39;49;90;107m", 0x70},
      {"\x1b[1m\x1b[32m", 0xA0}, {"\x1b[1;7;7m", 0x70},     {"\x1b[;;31m", 0x10},
      {"\x1b[0031m", 0x10},      {"\x1b[3?1m", 0x10},       {"\x1b[1m\x1b[m", 0xF0},
  };
  for (const auto& [sequence, attribute] : cases) {
    EXPECT_EQ(RowsOf({std::string(sequence) + "AB"}), (std::vector<Row>{{"AB", Fill(2, attribute)}, kEmpty}))
        << ::testing::PrintToString(std::string(sequence));
  }
}

// Source lines and the rows they become, for one named behaviour.
struct RowsCase {
  const char* behaviour;
  std::vector<std::string> source;
  std::vector<Row> rows;
};

void ExpectRows(std::initializer_list<RowsCase> cases) {
  for (const RowsCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(RowsOf(c.source), c.rows);
  }
}

TEST(AnsiInterpreter, WrapsAndOverwritesRows) {
  const std::string full(80, 'a');
  ExpectRows({
      {"writing over cells replaces their attributes",
       {"\x1b[30mab\x1b[2D\x1b[33mab"},
       {{"ab", Fill(2, 0x30)}, kEmpty}},
      {"writing over cells with brightness", {"\x1b[30mabc\x1b[3D\x1b[1mx"}, {{"xbc", "\x80" + Fill(2, 0x00)}, kEmpty}},
      // The bright z shows where the cursor stood after the wrap.
      {"wrap moves the overflow to the next row",
       {std::string(85, 'x') + "\x1b[1mz", "y"},
       {Plain(std::string(80, 'x')), {"xxxxxz", Fill(5, 0x70) + "\xF0"}, {"y", "\xF0"}, kEmpty}},
      {"a full row then a line break leaves an empty row",
       {std::string(80, 'x'), "y"},
       {Plain(std::string(80, 'x')), kEmpty, Plain("y"), kEmpty}},
      // Rows 0 and 1 are full; x fills nothing new but the row is 80 cells, so
      // the cursor moves past row 1 to column 0 of row 2.
      {"writing into a full row moves past full rows",
       {std::string(160, 'a'), "\x1b[0;0Hx\x1b[my"},
       {Plain("x" + full.substr(1)), Plain(full), Plain("y"), kEmpty}},
      {"one cell of overflow lands on a full row, which passes the cursor on",
       {std::string(160, 'a'), "\x1b[0;78Hbcd\x1b[me"},
       {Plain(full.substr(0, 78) + "bc"), Plain("d" + full.substr(1)), Plain("e"), kEmpty}},
      {"a long overflow replaces whole rows, then overwrites a start",
       {"", "", "qqqq", "\x1b[0;70H\x1b[31m" + std::string(100, 'r') + "\x1b[1ms"},
       {{std::string(70, ' ') + std::string(10, 'r'), Fill(70, 0x70) + Fill(10, 0x10)},
        {std::string(80, 'r'), Fill(80, 0x10)},
        {std::string(10, 'r') + "s", Fill(10, 0x10) + "\x90"},
        kEmpty}},
      {"a short overflow overwrites the start of a longer row and leaves the rest",
       {"", std::string(20, 'q'), "\x1b[0;75H" + std::string(10, 'r') + "\x1b[1ms"},
       {Plain(std::string(75, ' ') + "rrrrr"),
        {"rrrrrs" + std::string(14, 'q'), Fill(5, 0x70) + "\xF0" + Fill(14, 0x70)},
        kEmpty}},
  });
}

TEST(AnsiInterpreter, CursorMoves) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<Row>>> cases = {
      {{"\x1b[31m\x1b[5CX"}, {{"     X", Fill(5, 0x70) + "\x10"}, kEmpty}},
      {{"\x1b[1;1HX"}, {kEmpty, Plain(" X"), kEmpty}},  // zero-based, no adjustment
      {{"ab\x1b[HX"}, {Plain("abX"), kEmpty}},
      {{"ab\x1b[5HX"}, {Plain("abX"), kEmpty}},
      {{"ab\x1b[2;3;4fX"}, {Plain("ab"), kEmpty, Plain("   X"), kEmpty}},
      {{"\x1b[sABC\x1b[uX"}, {Plain("XBC"), kEmpty}},
      {{"\x1b[5Aab\x1b[9Dc"}, {Plain("cb"), kEmpty}},  // clamped at row and column 0
      {{"a\x1b[2Bb"}, {Plain("a"), kEmpty, Plain(" b"), kEmpty}},
      {{"aaa", "\x1b[Ab"}, {Plain("baa"), kEmpty}},
      {{"\x1b[3;4Cx"}, {Plain(" x"), kEmpty}},  // two parameters: moves by one
      {{"\x1b[0Cx"}, {Plain("x"), kEmpty}},
      {{"\x1b[10;5H\x1b[20AX"},
       {Plain("     X"), kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty}},
  };
  for (const auto& [source, rows] : cases) {
    SCOPED_TRACE(::testing::PrintToString(source));
    EXPECT_EQ(RowsOf(source), rows);
  }
}

TEST(AnsiInterpreter, ErasesKeepCursorAndColours) {
  ExpectRows({
      {"erase display", {"ABC\x1b[2JD"}, {Plain("   D"), kEmpty}},
      {"erase display keeps colours", {"top", "ab\x1b[31m\x1b[J", "c"}, {kEmpty, kEmpty, {"c", "\x10"}, kEmpty}},
      {"erase line cuts the row", {"abcdef\x1b[3D\x1b[K"}, {Plain("abc"), kEmpty}},
      {"erase line start", {"abc\x1b[3D\x1b[1K"}, {kEmpty, kEmpty}},
      {"erase line lengthens with blanks, not the current colour",
       {"\x1b[31mab\x1b[5C\x1b[K"},
       {{"ab     ", "\x10\x10" + Fill(5, 0x70)}, kEmpty}},
      {"erase line never beyond 80 cells", {"ab\x1b[100C\x1b[K"}, {Plain("ab" + std::string(78, ' ')), kEmpty}},
  });
}

TEST(AnsiInterpreter, UnfinishedOrUnknownSequences) {
  const std::vector<std::pair<std::string, Row>> cases = {
      {"\x1b[12;34", Plain("12;34")}, {"\x1b[12\x1b[1mX", {"12X", "\x70\x70\xF0"}}, {"a\x1b[?7hb", Plain("ab")},
      {"a\x1b[5Zb", Plain("ab")},     {"a\033b\033", Plain("a\033b\033")},  // ESC without "[" is text
      {"\tx", Plain("\tx")},                                                // a tab is one cell
  };
  for (const auto& [source, row] : cases) {
    SCOPED_TRACE(::testing::PrintToString(source));
    EXPECT_EQ(RowsOf({source}), (std::vector<Row>{row, kEmpty}));
  }
}

TEST(AnsiInterpreter, SauceRecordCutsRowsFromItsMark) {
  const std::string x78(78, 'x');
  ExpectRows({
      {"the mark's row and all after it go",
       {"\x1b[0mart\r\nmore\r\n\x1aSAUCE00title\r\nrest"},
       {Plain("art"), Plain("more")}},
      {"a mark on the first row leaves nothing", {"\x1b[0mart\x1aSAUCE00"}, {}},
      {"the signature must follow the mark",
       {"\x1b[0mart\r\n\032COMNTabc\r\nSAUCE00"},
       {Plain("art"), Plain("\032COMNTabc"), Plain("SAUCE00"), kEmpty}},
      {"a mark split by the wrap", {"\x1b[0m" + x78 + "\x1aSAUCE"}, {Plain(x78 + "\x1aS"), Plain("AUCE"), kEmpty}},
  });
}

TEST(AnsiInterpreter, HugeNumbersSaturateAndColumnIsBounded) {
  // Either number puts the cursor at the column limit; the x then wraps down
  // through rows of blanks to row 102, column 32 (8192 = 102 * 80 + 32).
  static_assert(kMaxAnsiColumn == 8192);
  for (const std::string& number : {std::string("2147483647"), std::string(70, '9')}) {
    const std::vector<Row> rows = RowsOf({"\x1b[" + number + "C\x1b[31mx"});
    ASSERT_EQ(rows.size(), 104u);
    EXPECT_EQ(rows[0], Plain(std::string(80, ' ')));
    EXPECT_EQ(rows[101], Plain(std::string(80, ' ')));
    EXPECT_EQ(rows[102], (Row{std::string(32, ' ') + "x", Fill(32, 0x70) + "\x10"}));
    EXPECT_EQ(rows[103], kEmpty);
  }
}

TEST(AnsiInterpreter, CursorMovesAddAtMostRowJumpRows) {
  for (const std::string& move : {std::string("\x1b[999999999;1H"), std::string("\x1b[5000B\x1b[C"),
                                  std::string("\x1b[9999B\x1b[9999B\x1b[s\x1b[9999A\x1b[J\x1b[u\x1b[C")}) {
    SCOPED_TRACE(::testing::PrintToString(move));
    const std::vector<Row> rows = RowsOf({move + "x"});
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kMaxAnsiRowJump) + 2);
    EXPECT_EQ(rows[kMaxAnsiRowJump], Plain(" x"));
  }
}

TEST(AnsiInterpreter, CanvasStopsAtMaximumRows) {
  // Each move adds kMaxAnsiRowJump rows until the canvas is full; later text,
  // line breaks and wraps all stay on the last row.
  const std::string down = Repeat("\x1b[9999B", kMaxAnsiRows / kMaxAnsiRowJump + 10);
  TextDocument document;
  testing::Interpret({down + "x", "y", std::string(80, 'a') + "bbbbbc"}, document);
  ASSERT_EQ(document.LineCount(), kMaxAnsiRows);
  EXPECT_EQ(document.lines.back().Text(), "bbbbbc" + std::string(74, 'a'));
  EXPECT_EQ(document.lines[kMaxAnsiRows - 2].length, 0);
}

TEST(AnsiInterpreter, RepeatedEraseFarDownStaysCheap) {
  // The erase regrows the canvas to the cursor row; that must not cost a pass
  // over a million empty rows each time.
  TextDocument document;
  testing::Interpret({Repeat("\x1b[9999B", 1100) + Repeat("\x1b[J", 100000) + "z"}, document);
  ASSERT_EQ(document.LineCount(), kMaxAnsiRows);
  EXPECT_EQ(document.lines.back().Text(), "z");
  EXPECT_EQ(document.text.size(), 2u * kMaxAnsiRows + 1);
}

TEST(AnsiInterpreter, RepeatedWritesIntoFullRowsStayCheap) {
  // Without a quick way past full rows each x would walk 10,000 rows.
  const std::vector<Row> rows = RowsOf({std::string(800000, 'a'), Repeat("\x1b[0;0Hx", 100000)});
  ASSERT_EQ(rows.size(), 10002u);
  EXPECT_EQ(rows[0], Plain(std::string("x").append(79, 'a')));
  EXPECT_EQ(rows[9999], Plain(std::string(80, 'a')));
  EXPECT_EQ(rows[10000], kEmpty);
}

}  // namespace
}  // namespace mosaikon
