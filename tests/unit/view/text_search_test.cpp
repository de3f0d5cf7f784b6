// Finding text: case folding, whole words at line edges and punctuation, the
// direction and the place searched from, the wrap, double-byte pairs that a
// match must not split, matches as selection cells, and ANSI documents.
#include "view/text_search.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <initializer_list>
#include <string>

namespace mosaikon {
namespace {

enum Options : unsigned { kDown = 0, kUp = 1, kCase = 2, kWord = 4, kPairs = 8 };

// Where the match is: line (kNone: not found), first byte, display columns.
constexpr int kNone = -1;
struct Expected {
  int line = kNone;
  int offset = 0;
  int startColumn = 0;
  int endColumn = 0;
  bool wrapped = false;
};

struct SearchCase {
  const char* name;
  std::string text;
  std::string needle;
  unsigned options;
  TextPosition from;
  Expected expected;
  int tabSize = 8;
};

void Check(std::initializer_list<SearchCase> cases, const ByteLetters& letters = ByteLetters()) {
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    LoadOptions load;
    load.tabSize = c.tabSize;
    TextDocument document;
    document.Build(c.text, load);
    const SearchQuery query{c.needle, (c.options & kCase) != 0, (c.options & kWord) != 0, (c.options & kUp) == 0};
    const SearchResult result =
        SearchDocument(document, query, c.from, {c.tabSize, (c.options & kPairs) != 0 ? 1 : 0}, letters);
    const Expected& e = c.expected;
    ASSERT_EQ(result.found, e.line != kNone);
    EXPECT_EQ(result.wrapped, e.wrapped);
    if (!result.found) continue;
    EXPECT_EQ(result.begin, (TextPosition{e.line, e.offset}));
    EXPECT_EQ(result.end, (TextPosition{e.line, e.offset + static_cast<int>(c.needle.size())}));
    EXPECT_EQ(result.startCell, (CellPosition{e.startColumn, e.line}));
    EXPECT_EQ(result.endCell, (CellPosition{e.endColumn, e.line}));
  }
}

TEST(TextSearch, CaseAndWholeWords) {
  Check({
      {"fold", "Hello World", "world", kDown, {}, {0, 6, 6, 11}},
      {"match case", "Hello World", "world", kCase, {}, {}},
      {"high bytes exact", "\xC4rger", "\xE4rger", kDown, {}, {}},
      {"word before punctuation", "concat cat.", "cat", kWord, {}, {0, 7, 7, 10}},
      {"word alone on a line", "x\r\ncat\r\ny", "cat", kWord, {}, {1, 0, 0, 3}},
      {"underscores are punctuation", "a_cat_b", "cat", kWord, {}, {0, 2, 2, 5}},
      {"digits are word bytes", "cat9 9cat cat", "cat", kWord, {}, {0, 10, 10, 13}},
      {"word of punctuation", "a--b", "--", kWord, {}, {}},
  });
}

// Letters of code page 1252 above 0x7F, as the system tells them: the
// accented letters (upper case 0xC0-0xDE, lower case 0xE0-0xFE, but the
// signs 0xD7 and 0xF7), sharp s without an upper case of its own.
ByteLetters Windows1252() {
  ByteLetters letters;
  for (int byte = 0xC0; byte <= 0xFE; ++byte) {
    if (byte == 0xD7 || byte == 0xF7) continue;
    const bool lower = byte >= 0xE0 && byte != 0xDF;
    letters.SetHighByte(static_cast<unsigned char>(byte), true, static_cast<unsigned char>(lower ? byte - 0x20 : byte));
  }
  return letters;
}

TEST(TextSearch, CodePageLettersInPlainText) {
  const ByteLetters cp1252 = Windows1252();
  // (Octal escapes where a letter follows: a hex escape would swallow it.)
  Check(
      {
          {"not inside a word of accented letters", "GR\xD6SSE Gr", "gr", kWord, {}, {0, 7, 7, 9}},
          {"not before an accented letter", "caf\xE9 caf", "caf", kWord, {}, {0, 5, 5, 8}},
          {"accented letters fold", "x CAF\xC9", "caf\xE9", kDown, {}, {0, 2, 2, 6}},
          {"and keep their case on request", "caf\xE9 CAF\xC9", "CAF\xC9", kCase, {}, {0, 5, 5, 9}},
          {"a whole accented word", "na\xEFve na\xEFvet\xE9", "NA\xCFVE", kWord, {}, {0, 0, 0, 5}},
          {"the multiplication sign is no letter", "\327cat", "cat", kWord, {}, {0, 1, 1, 4}},
          {"sharp s matches only itself", "STRASSE stra\337e", "stra\337e", kDown, {}, {0, 8, 8, 14}},
      },
      cp1252);
  // ANSI art and double-byte text keep every high byte a word break that
  // matches only itself.
  Check(
      {
          {"ANSI art", "\x1b[m\311cat", "cat", kWord, {}, {0, 1, 1, 4}},
          {"ANSI art does not fold", "\x1b[m\xC9", "\xE9", kDown, {}, {}},
          {"GB text", "\311\351cat", "cat", kWord | kPairs, {}, {0, 2, 2, 5}},
      },
      cp1252);
  // Without the code page, as before: high bytes break words and match exactly.
  Check({
      {"no letters given", "GR\xD6SSE Gr", "gr", kWord, {}, {0, 0, 0, 2}},
      {"no folding given", "CAF\xC9", "caf\xE9", kDown, {}, {}},
  });
}

TEST(TextSearch, CodePageFoldingEdgeCases) {
  ByteLetters letters;
  // A high byte never matches an ASCII letter, whatever the table says.
  letters.SetHighByte(0xFD, true, 'I');
  // Two lower-case forms of one upper case: the search compares all three.
  letters.SetHighByte(0xD3, true, 0xD3);
  letters.SetHighByte(0xF2, true, 0xD3);
  letters.SetHighByte(0xF3, true, 0xD3);
  const std::string far = std::string(40, 'x') + "\xF2";
  Check(
      {
          {"dotless i is not I", "I i \xFD", "\xFD", kDown, {}, {0, 4, 4, 5}},
          {"I is not dotless i", "\xFD I", "i", kDown, {}, {0, 2, 2, 3}},
          {"first of three forms", far, "\xD3", kDown, {}, {0, 40, 40, 41}},
          {"last of three forms", far, "x\xF3", kUp, {0, 41}, {0, 39, 39, 41}},
          {"three forms, case kept", far, "\xF3", kCase, {}, {}},
      },
      letters);
}

TEST(TextSearch, DirectionStartAndWrap) {
  Check({
      {"down from a match's end", "ab ab ab", "ab", kDown, {0, 2}, {0, 3, 3, 5}},
      {"up from a match's end", "ab ab ab", "ab", kUp, {0, 5}, {0, 3, 3, 5}},
      {"up needs the whole match before", "ab ab ab", "ab", kUp, {0, 4}, {0, 0, 0, 2}},
      {"down wraps to the top", "ab ab ab", "ab", kDown, {0, 7}, {0, 0, 0, 2, true}},
      {"up wraps to the bottom", "ab ab ab", "ab", kUp, {0, 1}, {0, 6, 6, 8, true}},
      {"a match across the start after the wrap", "abcd", "bc", kDown, {0, 2}, {0, 1, 1, 3, true}},
      {"lines below, then above", "one\r\ntwo\r\nthree", "two", kDown, {2, 0}, {1, 0, 0, 3, true}},
      {"from past the end", "ab ab", "b", kDown, {9, 0}, {0, 1, 1, 2, true}},
      {"nowhere", "ab ab", "abc", kDown, {}, {}},
      {"never across a line break", "one\r\ntwo", "e\r\nt", kDown, {}, {}},
      {"empty needle", "abc", "", kDown, {}, {}},
  });
}

TEST(TextSearch, DoubleBytePairs) {
  const std::string gb = "\xD6\xD0\xCE\xC4";  // two GB2312 characters
  Check({
      {"trail and next lead", gb, "\xD0\xCE", kPairs, {}, {}},
      {"single bytes without pairs", gb, "\xD0\xCE", kDown, {}, {0, 1, 1, 3}},
      {"letter as a trail byte", "\xA4\x41", "A", kPairs, {}, {}},
      {"trail bytes keep their case", "\xA4\x41", "\xA4\x61", kPairs, {}, {}},
      {"without pairs the letter folds", "\xA4\x41", "\xA4\x61", kDown, {}, {0, 0, 0, 2}},
      {"lone lead at the line end", "ab\xB0\r\nx", "\xB0", kPairs, {}, {0, 2, 2, 4}},
      {"needle ending on a lead", "\xB0\xA1x", "\xB0", kPairs, {}, {}},
      {"aligned after a misaligned place", "a\xD6\xD6\xD6\xD6", "\xD6\xD6", kPairs, {0, 2}, {0, 3, 3, 5}},
      {"up over a misaligned place", "a\xD6\xD6\xD6\xD6", "\xD6\xD6", kPairs | kUp, {0, 4}, {0, 1, 1, 3}},
      {"word after a pair ending in a letter", "\xA4\x41\x42\x43", "BC", kPairs | kWord, {}, {0, 2, 2, 4}},
      {"the same bytes as letters", "\xA4\x41\x42\x43", "BC", kWord, {}, {}},
  });
}

TEST(TextSearch, MatchesAsCells) {
  Check({
      {"tabs", "\tab\tcd", "cd", kDown, {}, {0, 4, 16, 18}},
      {"huge tab stops are 1000 columns", "\tx\ty", "x", kDown, {}, {0, 1, 1000, 1001}, INT_MAX},
      {"pair then tab", "\xB0\x41\tab", "ab", kPairs, {}, {0, 3, 4, 6}, 4},
      {"lead taking a tab", "\xB0\tab", "ab", kPairs, {}, {0, 2, 2, 4}, 4},
      {"the same without pairs", "\xB0\tab", "ab", kDown, {}, {0, 2, 4, 6}, 4},
      {"ANSI rows", "\x1b[31mred\x1b[0m text", "d t", kDown, {}, {0, 2, 2, 5}},
      {"wrapped ANSI row", "\x1b[m" + std::string(85, 'x'), "xxxxx", kDown, {0, 76}, {1, 0, 0, 5}},
  });
}

TEST(TextSearch, NeverAMatchBeyondTheLastShownColumn) {
  // 2147483 tabs of 1000 columns end at column 2147483000; the first "ab"
  // fits before column 2147483647, the one after another tab does not.
  std::string line(2147483, '\t');
  line += "ab\tab";
  TextDocument document;
  document.Build(line + "\r\nab", {INT_MAX, true});
  const ColumnRules rules{INT_MAX, 0};
  const SearchResult down = SearchDocument(document, {"ab", true, false, true}, {0, 2147483}, rules);
  EXPECT_EQ(down.begin, (TextPosition{0, 2147483}));
  EXPECT_EQ(down.startCell, (CellPosition{2147483000, 0}));
  EXPECT_EQ(down.endCell, (CellPosition{2147483002, 0}));
  const SearchResult next = SearchDocument(document, {"ab", true, false, true}, down.end, rules);
  EXPECT_EQ(next.begin, (TextPosition{1, 0})) << "found beyond the last column";
  const SearchResult up = SearchDocument(document, {"ab", true, false, false}, {1, 0}, rules);
  EXPECT_EQ(up.begin, (TextPosition{0, 2147483})) << "found beyond the last column";
  EXPECT_FALSE(SearchDocument(document, {"b\ta", true, false, true}, down.end, rules).found);
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

TEST(TextSearch, OffsetAtColumnSkipsTheRestOfATabOrPair) {
  const std::string text = "\ta\xB0\x41z";
  const TextLine line(text.data(), static_cast<std::int32_t>(text.size()));
  // Columns: tab 0-3, a 4, pair 5-6, z 7; the first byte at or right of each.
  const std::pair<std::int64_t, std::int32_t> cases[] = {{0, 0}, {1, 1}, {4, 1}, {5, 2},
                                                         {6, 4}, {7, 4}, {8, 5}, {99, 5}};
  for (const auto& [column, offset] : cases) EXPECT_EQ(OffsetAtColumn(line, column, {4, 1}), offset) << column;
}

}  // namespace
}  // namespace mosaikon
