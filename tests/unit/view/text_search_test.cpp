// Finding text: case folding, whole words at line edges and punctuation, the
// direction and the place searched from, the wrap, double-byte pairs that a
// match must not split, matches as selection cells, and ANSI documents.
#include "view/text_search.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <string>

namespace mosaikon {
namespace {

constexpr int kNone = -1;

struct SearchCase {
  const char* name;
  std::string text;
  std::string needle;
  TextPosition from;
  bool down = true;
  bool matchCase = false;
  bool wholeWord = false;
  int decodeMode = 0;
  int tabSize = 8;
  // Expected: the match's line (kNone when not found) and first byte, the
  // wrap flag and the match's display columns.
  int line = kNone;
  int offset = 0;
  bool wrapped = false;
  int startColumn = 0;
  int endColumn = 0;
};

void Check(const SearchCase& c) {
  SCOPED_TRACE(c.name);
  LoadOptions options;
  options.tabSize = c.tabSize;
  TextDocument document;
  document.Build(c.text, options);
  const SearchQuery query{c.needle, c.matchCase, c.wholeWord, c.down};
  const SearchResult result = SearchDocument(document, query, c.from, {c.tabSize, c.decodeMode});
  ASSERT_EQ(result.found, c.line != kNone);
  EXPECT_EQ(result.wrapped, c.wrapped);
  if (!result.found) return;
  EXPECT_EQ(result.begin, (TextPosition{c.line, c.offset}));
  EXPECT_EQ(result.end, (TextPosition{c.line, c.offset + static_cast<int>(c.needle.size())}));
  EXPECT_EQ(result.startCell, (CellPosition{c.startColumn, c.line}));
  EXPECT_EQ(result.endCell, (CellPosition{c.endColumn, c.line}));
}

TEST(TextSearch, CaseAndWholeWords) {
  const SearchCase cases[] = {
      {.name = "fold",
       .text = "Hello World",
       .needle = "world",
       .line = 0,
       .offset = 6,
       .startColumn = 6,
       .endColumn = 11},
      {.name = "match case", .text = "Hello World", .needle = "world", .matchCase = true},
      {.name = "upper needle",
       .text = "Hello world",
       .needle = "WORLD",
       .line = 0,
       .offset = 6,
       .startColumn = 6,
       .endColumn = 11},
      {.name = "high bytes exact", .text = "\xC4rger", .needle = "\xE4rger"},
      {.name = "word before punctuation",
       .text = "concat cat.",
       .needle = "cat",
       .wholeWord = true,
       .line = 0,
       .offset = 7,
       .startColumn = 7,
       .endColumn = 10},
      {.name = "word alone on a line",
       .text = "x\r\ncat\r\ny",
       .needle = "cat",
       .wholeWord = true,
       .line = 1,
       .endColumn = 3},
      {.name = "underscores are punctuation",
       .text = "a_cat_b",
       .needle = "cat",
       .wholeWord = true,
       .line = 0,
       .offset = 2,
       .startColumn = 2,
       .endColumn = 5},
      {.name = "digits are word bytes",
       .text = "cat9 9cat cat",
       .needle = "cat",
       .wholeWord = true,
       .line = 0,
       .offset = 10,
       .startColumn = 10,
       .endColumn = 13},
      {.name = "word of punctuation", .text = "a--b", .needle = "--", .wholeWord = true},
  };
  for (const SearchCase& c : cases) Check(c);
}

TEST(TextSearch, DirectionStartAndWrap) {
  const SearchCase cases[] = {
      {.name = "down from a match's end",
       .text = "ab ab ab",
       .needle = "ab",
       .from = {0, 2},
       .line = 0,
       .offset = 3,
       .startColumn = 3,
       .endColumn = 5},
      {.name = "up from a match's end",
       .text = "ab ab ab",
       .needle = "ab",
       .from = {0, 5},
       .down = false,
       .line = 0,
       .offset = 3,
       .startColumn = 3,
       .endColumn = 5},
      {.name = "up needs the whole match before",
       .text = "ab ab ab",
       .needle = "ab",
       .from = {0, 4},
       .down = false,
       .line = 0,
       .startColumn = 0,
       .endColumn = 2},
      {.name = "down wraps to the top",
       .text = "ab ab ab",
       .needle = "ab",
       .from = {0, 7},
       .line = 0,
       .wrapped = true,
       .endColumn = 2},
      {.name = "up wraps to the bottom",
       .text = "ab ab ab",
       .needle = "ab",
       .from = {0, 1},
       .down = false,
       .line = 0,
       .offset = 6,
       .wrapped = true,
       .startColumn = 6,
       .endColumn = 8},
      {.name = "a match across the start is found after the wrap",
       .text = "abcd",
       .needle = "bc",
       .from = {0, 2},
       .line = 0,
       .offset = 1,
       .wrapped = true,
       .startColumn = 1,
       .endColumn = 3},
      {.name = "lines below, then above",
       .text = "one\r\ntwo\r\nthree",
       .needle = "two",
       .from = {2, 0},
       .line = 1,
       .wrapped = true,
       .endColumn = 3},
      {.name = "from past the end",
       .text = "ab ab",
       .needle = "b",
       .from = {9, 0},
       .line = 0,
       .offset = 1,
       .wrapped = true,
       .startColumn = 1,
       .endColumn = 2},
      {.name = "nowhere", .text = "ab ab", .needle = "abc"},
      {.name = "never across a line break", .text = "one\r\ntwo", .needle = "e\r\nt"},
      {.name = "empty needle", .text = "abc", .needle = ""},
      {.name = "longer than the document", .text = "ab", .needle = "abc"},
      {.name = "no lines", .text = "", .needle = "a"},
  };
  for (const SearchCase& c : cases) Check(c);
}

TEST(TextSearch, DoubleBytePairs) {
  const std::string gb = "\xD6\xD0\xCE\xC4";  // two GB2312 characters
  const SearchCase cases[] = {
      {.name = "trail and next lead", .text = gb, .needle = "\xD0\xCE", .decodeMode = 1},
      {.name = "single bytes without pairs",
       .text = gb,
       .needle = "\xD0\xCE",
       .line = 0,
       .offset = 1,
       .startColumn = 1,
       .endColumn = 3},
      {.name = "letter as a trail byte", .text = "\xA4\x41", .needle = "A", .decodeMode = 2},
      {.name = "trail bytes keep their case", .text = "\xA4\x41", .needle = "\xA4\x61", .decodeMode = 2},
      {.name = "without pairs the letter folds", .text = "\xA4\x41", .needle = "\xA4\x61", .line = 0, .endColumn = 2},
      {.name = "lone lead at the line end",
       .text = "ab\xB0\r\nx",
       .needle = "\xB0",
       .decodeMode = 1,
       .line = 0,
       .offset = 2,
       .startColumn = 2,
       .endColumn = 4},
      {.name = "needle ending on a lead", .text = "\xB0\xA1x", .needle = "\xB0", .decodeMode = 1},
      {.name = "aligned after a misaligned place",
       .text = "a\xD6\xD6\xD6\xD6",
       .needle = "\xD6\xD6",
       .from = {0, 2},
       .decodeMode = 1,
       .line = 0,
       .offset = 3,
       .startColumn = 3,
       .endColumn = 5},
      {.name = "up over a misaligned place",
       .text = "a\xD6\xD6\xD6\xD6",
       .needle = "\xD6\xD6",
       .from = {0, 4},
       .down = false,
       .decodeMode = 1,
       .line = 0,
       .offset = 1,
       .startColumn = 1,
       .endColumn = 3},
      {.name = "word after a pair ending in a letter",
       .text = "\xA4\x41\x42\x43",
       .needle = "BC",
       .wholeWord = true,
       .decodeMode = 2,
       .line = 0,
       .offset = 2,
       .startColumn = 2,
       .endColumn = 4},
      {.name = "the same bytes as letters", .text = "\xA4\x41\x42\x43", .needle = "BC", .wholeWord = true},
  };
  for (const SearchCase& c : cases) Check(c);
}

TEST(TextSearch, MatchesAsCells) {
  const SearchCase cases[] = {
      {.name = "tabs", .text = "\tab\tcd", .needle = "cd", .line = 0, .offset = 4, .startColumn = 16, .endColumn = 18},
      {.name = "huge tab stops clamp",
       .text = "\tx\ty",
       .needle = "x",
       .tabSize = INT_MAX,
       .line = 0,
       .offset = 1,
       .startColumn = INT_MAX,
       .endColumn = INT_MAX},
      {.name = "pair then tab",
       .text = "\xB0\x41\tab",
       .needle = "ab",
       .decodeMode = 1,
       .tabSize = 4,
       .line = 0,
       .offset = 3,
       .startColumn = 4,
       .endColumn = 6},
      {.name = "lead swallowing a tab",
       .text = "\xB0\tab",
       .needle = "ab",
       .decodeMode = 1,
       .tabSize = 4,
       .line = 0,
       .offset = 2,
       .startColumn = 2,
       .endColumn = 4},
      {.name = "the same without pairs",
       .text = "\xB0\tab",
       .needle = "ab",
       .tabSize = 4,
       .line = 0,
       .offset = 2,
       .startColumn = 4,
       .endColumn = 6},
      {.name = "ANSI rows",
       .text = "\x1b[31mred\x1b[0m text",
       .needle = "d t",
       .line = 0,
       .offset = 2,
       .startColumn = 2,
       .endColumn = 5},
      {.name = "wrapped ANSI row",
       .text = "\x1b[m" + std::string(85, 'x'),
       .needle = "xxxxx",
       .from = {0, 76},
       .line = 1,
       .endColumn = 5},
  };
  for (const SearchCase& c : cases) Check(c);
}

TEST(TextSearch, LongLineOfPairs) {
  // Every other place fits the needle's bytes but splits a pair; checking
  // each must not walk the line from its start again.
  std::string text;
  for (int i = 0; i < 500000; ++i) text += "\xD6\xD0";
  TextDocument document;
  document.Build(text + "x", {});
  const ColumnRules pairs{8, 1};
  EXPECT_FALSE(SearchDocument(document, {"\xD0\xD6", true, false, true}, {}, pairs).found);
  EXPECT_FALSE(SearchDocument(document, {"\xD0\xD6", true, false, false}, {0, INT_MAX}, pairs).found);
  const SearchResult last = SearchDocument(document, {"\xD6\xD0x", true, false, false}, {0, INT_MAX}, pairs);
  EXPECT_EQ(last.begin, (TextPosition{0, 999998}));
}

TEST(TextSearch, WordBytesFollowTheCLocale) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool expected = byte >= 0x01 && byte <= 0x7F && !std::isspace(byte) && !std::ispunct(byte);
    EXPECT_EQ(IsWordByte(static_cast<unsigned char>(byte)), expected) << byte;
  }
}

TEST(TextSearch, ColumnsAndOffsets) {
  const std::string text = "\ta\xB0\x41z";
  const TextLine line(text.data(), static_cast<std::int32_t>(text.size()));
  const ColumnRules pairs{4, 1};
  struct Case {
    std::int64_t column;
    std::int32_t offset;
  };
  // Columns: tab 0-3, a 4, pair 5-6, z 7.
  for (const Case& c :
       {Case{0, 0}, Case{1, 1}, Case{4, 1}, Case{5, 2}, Case{6, 4}, Case{7, 4}, Case{8, 5}, Case{99, 5}}) {
    EXPECT_EQ(OffsetAtColumn(line, c.column, pairs), c.offset) << c.column;
  }
  for (const Case& c : {Case{0, 0}, Case{4, 1}, Case{5, 2}, Case{7, 4}, Case{8, 5}}) {
    EXPECT_EQ(ColumnAtOffset(line, c.offset, pairs), c.column) << c.offset;
  }
}

}  // namespace
}  // namespace mosaikon
