// Line breaks and tab expansion: the break rules (runs merge only while both
// CR and LF lie ahead), line positions in the buffer, and display widths.
#include "document/line_splitter.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

// The lines of a plain document, checked against the rules every document
// keeps (lines in order, breaks of the right size).
TextDocument Split(const std::string& text, std::int32_t tabSize = 8) {
  TextDocument document = testing::SplitDocument(text, tabSize);
  EXPECT_EQ(testing::CheckDocumentInvariants(document, tabSize), "") << ::testing::PrintToString(text);
  return document;
}

TEST(LineSplitter, BreakRules) {
  const std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
      {"crlf", "a\r\nb", {"a", "b"}},
      {"lfcr", "a\n\rb", {"a", "b"}},
      {"cr cr lf", "a\r\r\nb", {"a", "b"}},
      {"cr lf lf", "a\r\n\nb", {"a", "b"}},
      {"two crlf", "a\r\n\r\nb", {"a", "", "b"}},
      {"lf lf without cr", "a\n\nb", {"a", "", "b"}},
      {"lf lf with cr ahead", "a\n\nb\r\n", {"a", "b", ""}},
      {"cr cr without lf", "a\r\rb", {"a", "", "b"}},
      {"final lf", "a\n", {"a", ""}},
      {"cr gone after first line", "a\r\nb\nc\n", {"a", "b", "c", ""}},
      {"lf run then cr, then lf only", "a\n\n\rb\n\nc", {"a", "b", "", "c"}},
  };
  for (const auto& [name, text, lines] : cases) EXPECT_EQ(testing::LineTexts(Split(text)), lines) << name;
}

struct WidthCase {
  std::string text;
  std::int32_t tabSize;
  std::int32_t width;
};

TEST(LineSplitter, WidthIsTheWidestExpandedLine) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const WidthCase cases[] = {
      {"\tx", 8, 9},
      {"\tx", 0, 9},  // a tab size below 1 means 8
      {"ab\tx", 8, 9},
      {"abcd\t", 4, 8},
      {"\xb0\xa1\xb0\xa2\xb0\xa3\xb0\xa4\xb0\xa5", 8, 10},  // five double-byte characters
      {"", 8, 0},
      {"\n\r\n", 8, 0},
      {"a\tb\n\t\t\r\nabcdefghijk", 8, 16},
      {"a\t\tb", 1, 4},
      {"x\ty\tz", 3, 7},
      // Tabs are at most 1000 columns wide; the width saturates.
      {"\t\t\t", kMax, 3000},
      {"ab\t", 1001, 1000},
      {std::string(2'200'000, '\t'), 1000, kMax},
  };
  for (const WidthCase& c : cases) EXPECT_EQ(Split(c.text, c.tabSize).width, c.width) << c.text << " " << c.tabSize;
}

}  // namespace
}  // namespace mosaikon
