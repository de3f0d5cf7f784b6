// What the mouse finds in a line: the whole link around the byte under a
// cell and the word a double-click selects, both through tabs and double-byte
// pairs as they are painted.
#include "view/mouse_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace mosaikon {
namespace {

struct FindCase {
  const char* name;
  std::string line;
  int column;
  ColumnRules rules;
  std::string found;  // "first-end" of the bytes or columns, "none"
};

TextDocument OneLine(const std::string& line) {
  TextDocument document;
  document.Build(line, LoadOptions{8, false});
  return document;
}

std::string LinkText(const FindCase& c, int row = 0) {
  const auto link = LinkAt(OneLine(c.line), {c.column, row}, c.rules);
  return link ? std::to_string(link->first) + "-" + std::to_string(link->end) : "none";
}

TEST(LinkAt, FindsTheWholeLinkUnderTheCell) {
  const FindCase cases[] = {
      {"first byte", "see http://a.b/c now", 4, {}, "4-16"},
      {"last byte", "see http://a.b/c now", 15, {}, "4-16"},
      {"blank after it", "see http://a.b/c now", 16, {}, "none"},
      {"second link of the line", "http://a http://b", 10, {}, "9-17"},
      {"after a tab", "\thttp://x", 8, {}, "1-9"},
      {"on the tab", "\thttp://x", 7, {}, "none"},
      {"link at the line's end", "go http://end", 12, {}, "3-13"},
      {"right of a line ending in a link", "go http://end", 13, {}, "none"},
      {"left of the window", "http://x", -1, {}, "none"},
      // A lead byte takes the link's "h" into its pair, which counts by its
      // unmarked first byte; without decoding the "h" is its own cell.
      {"pair swallowing the h", "\xB1http://x", 1, {8, 1}, "none"},
      {"link bytes after that pair", "\xB1http://x", 2, {8, 1}, "1-9"},
      {"the h without decoding", "\xB1http://x", 1, {8, 0}, "1-9"},
  };
  for (const FindCase& c : cases) EXPECT_EQ(LinkText(c), c.found) << c.name;
  EXPECT_EQ(LinkText(cases[0], 1), "none") << "below the last line";
  EXPECT_EQ(LinkText(cases[0], -1), "none") << "above the first line";
}

std::string WordText(const FindCase& c, int row = 0) {
  const auto word = WordAt(OneLine(c.line), {c.column, row}, c.rules);
  if (!word) return "none";
  EXPECT_EQ(word->anchor.row, row);
  EXPECT_EQ(word->caret.row, row);
  return std::to_string(word->anchor.column) + "-" + std::to_string(word->caret.column);
}

TEST(WordAt, SelectsTheRunOfWordBytesUnderTheCell) {
  const FindCase cases[] = {
      {"word after punctuation", "foo_bar baz", 4, {}, "4-7"},
      {"word before punctuation", "foo_bar baz", 0, {}, "0-3"},
      {"on the underscore", "foo_bar baz", 3, {}, "none"},
      {"right of the line", "foo_bar baz", 11, {}, "none"},
      {"left of the window", "foo", -1, {}, "none"},
      {"between tabs", "\tword\tx", 9, {}, "8-12"},
      {"on a tab", "\tword\tx", 3, {}, "none"},
      {"digits and a control byte are word bytes", "(a1\x01z)", 2, {}, "1-5"},
      {"after a GB character", "\xD6\xD0xyz", 2, {8, 1}, "2-5"},
      {"before a GB character", "xy\xD6\xD0zw", 0, {8, 1}, "0-2"},
      {"on a GB character", "xy\xD6\xD0zw", 3, {8, 1}, "none"},
      {"bytes above 0x7F without decoding", "xy\xE9zw", 1, {}, "0-2"},
  };
  for (const FindCase& c : cases) EXPECT_EQ(WordText(c), c.found) << c.name;
  EXPECT_EQ(WordText(cases[0], 1), "none") << "below the last line";
}

}  // namespace
}  // namespace mosaikon
