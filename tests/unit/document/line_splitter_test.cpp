// Line breaks and tab expansion: the break rules (runs merge only while both
// CR and LF lie ahead), line positions in the buffer, and display widths.
#include "document/line_splitter.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace mosaikon {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

std::vector<std::string> Texts(const std::vector<TextLine>& lines) {
  std::vector<std::string> texts;
  for (const TextLine& line : lines) texts.emplace_back(line.Text());
  return texts;
}

TEST(LineSplitter, BreakRules) {
  const SplitCase cases[] = {
      {"empty", "", {}},
      {"crlf", "a\r\nb", {"a", "b"}},
      {"lfcr", "a\n\rb", {"a", "b"}},
      {"cr cr lf", "a\r\r\nb", {"a", "b"}},
      {"cr lf lf", "a\r\n\nb", {"a", "b"}},
      {"two crlf", "a\r\n\r\nb", {"a", "", "b"}},
      {"lf lf without cr", "a\n\nb", {"a", "", "b"}},
      {"lf lf with cr ahead", "a\n\nb\r\n", {"a", "b", ""}},
      {"cr only", "a\rb", {"a", "b"}},
      {"cr cr without lf", "a\r\rb", {"a", "", "b"}},
      {"no break", "abc", {"abc"}},
      {"final lf", "a\n", {"a", ""}},
      {"final cr", "a\r", {"a", ""}},
      {"lone lf", "\n", {"", ""}},
      {"only crlf pairs", "\r\n\r\n", {"", "", ""}},
      {"cr gone after first line", "a\r\nb\nc\n", {"a", "b", "c", ""}},
      {"lf run then cr, then lf only", "a\n\n\rb\n\nc", {"a", "b", "", "c"}},
      {"lf cr lf cr", "a\n\r\n\rb", {"a", "", "b"}},
      {"mixed line ends", "pq\nrs\r\ntu", {"pq", "rs", "tu"}},
  };
  for (const SplitCase& c : cases) {
    std::vector<TextLine> lines;
    std::int32_t width = 0;
    SplitLines(c.text.data(), static_cast<std::int32_t>(c.text.size()), 8, lines, width);
    EXPECT_EQ(Texts(lines), c.lines) << c.name;
    // Records are windows onto the buffer, in order, without their breaks.
    const char* previousEnd = c.text.data();
    for (const TextLine& line : lines) {
      EXPECT_GE(line.start, previousEnd) << c.name;
      EXPECT_TRUE(line.linkMask.empty() && line.attributes.empty()) << c.name;
      previousEnd = line.start + line.length;
    }
    if (!lines.empty()) {
      EXPECT_EQ(lines.front().start, c.text.data()) << c.name;
      EXPECT_EQ(lines.back().start + lines.back().length, c.text.data() + c.text.size()) << c.name;
    }
  }
}

TEST(LineSplitter, LongLinesAndCounts) {
  // Lines longer than the 16-byte search blocks, breaks at block edges.
  const std::string a(15, 'a');
  const std::string b(17, 'b');
  const std::string c(33, 'c');
  const std::string text = a + "\r\n" + b + "\n\n" + c + "\r" + c;
  std::vector<TextLine> lines;
  std::int32_t width = 0;
  SplitLines(text.data(), static_cast<std::int32_t>(text.size()), 8, lines, width);
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{a, b, c, c}));
  EXPECT_EQ(width, 33);

  const BreakCounts counts = CountBreaks(text.data(), text.size());
  EXPECT_EQ(counts.cr, 2u);
  EXPECT_EQ(counts.lf, 3u);
  const std::string many(5000, '\n');
  EXPECT_EQ(CountBreaks(many.data(), many.size()).lf, 5000u);  // more than 255 blocks per counter run
  const std::string longer(16 * 300 + 7, '\r');
  EXPECT_EQ(CountBreaks(longer.data(), longer.size()).cr, 16u * 300 + 7);
}

TEST(LineSplitter, AppendsAndNeverLowersWidth) {
  const std::string text = "ab\ncd";
  std::vector<TextLine> lines(1);
  std::int32_t width = 100;
  SplitLines(text.data(), static_cast<std::int32_t>(text.size()), 8, lines, width);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].Text(), "ab");
  EXPECT_EQ(width, 100);
}

struct WidthCase {
  std::string text;
  std::int32_t tabSize;
  std::int32_t width;
};

TEST(LineSplitter, WidthIsTheWidestExpandedLine) {
  const WidthCase cases[] = {
      {"\tx", 8, 9},
      {"ab\tx", 8, 9},
      {"\t", 8, 8},
      {"abcd\t", 4, 8},
      {"\xb0\xa1\xb0\xa2\xb0\xa3\xb0\xa4\xb0\xa5", 8, 10},  // five double-byte characters
      {"", 8, 0},
      {"\n\r\n", 8, 0},
      {"a\tb\n\t\t\r\nabcdefghijk", 8, 16},
      {"a\t\tb", 1, 4},
      {"x\ty\tz", 3, 7},
  };
  for (const WidthCase& c : cases) {
    std::vector<TextLine> lines;
    std::int32_t width = 0;
    SplitLines(c.text.data(), static_cast<std::int32_t>(c.text.size()), c.tabSize, lines, width);
    EXPECT_EQ(width, c.width) << '"' << c.text << "\" tab size " << c.tabSize;
  }
}

TEST(ExpandTabs, ReturnsColumnsAndExpandedText) {
  std::string expanded = "old";
  EXPECT_EQ(ExpandTabs("a\tbc\td", 6, &expanded, 4), 9);
  EXPECT_EQ(expanded, "a   bc  d");
  EXPECT_EQ(ExpandTabs("\t", 1, &expanded, 3), 3);
  EXPECT_EQ(expanded, "   ");
}

TEST(ExpandTabs, EmptyInputEmptiesTheOutput) {
  std::string expanded = "old";
  EXPECT_EQ(ExpandTabs("abc", 0, &expanded, 8), 0);
  EXPECT_EQ(expanded, "");
  EXPECT_EQ(ExpandTabs("abc", -1, nullptr, 8), 0);
}

TEST(ExpandTabs, HugeWidthSaturatesInsteadOfOverflowing) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(ExpandTabs("\t\t\t", 3, nullptr, kMax), kMax);
  EXPECT_EQ(ExpandTabs("ab\t", 3, nullptr, kMax - 1), kMax - 1);
}

}  // namespace
}  // namespace mosaikon
