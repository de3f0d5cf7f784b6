// Tests of the walk from a line's bytes to display columns.
#include "view/column_walk.h"

#include <gtest/gtest.h>

#include <string>

namespace mosaikon {
namespace {

// The spans of a line as "index+bytes@column+cells" items, pairs marked "*".
std::string Walk(std::string_view line, ColumnRules rules) {
  std::string out;
  ColumnWalk walk(line, rules);
  CellSpan span;
  while (walk.Next(span)) {
    if (!out.empty()) out += ' ';
    out += std::to_string(span.index) + '+' + std::to_string(span.byteCount) + '@' + std::to_string(span.column) + '+' +
           std::to_string(span.cells) + (span.pair ? "*" : "");
  }
  return out;
}

TEST(ColumnWalk, SpansFollowTabsAndPairs) {
  struct Case {
    const char* name;
    std::string line;
    ColumnRules rules;
    std::string spans;
  };
  const Case cases[] = {
      {"tab to the next stop", "a\tb", {4, 0}, "0+1@0+1 1+1@1+3 2+1@4+1"},
      {"tab on a stop is a whole stop", "\t\t", {3, 0}, "0+1@0+3 1+1@3+3"},
      {"no tab size means 8", "\t", {0, 0}, "0+1@0+8"},
      {"GB pair", "\xD6\xD0x", {8, 1}, "0+2@0+2* 2+1@2+1"},
      {"no decoding: one column a byte", "\xD6\xD0x", {8, 0}, "0+1@0+1 1+1@1+1 2+1@2+1"},
      {"lead byte ending the line", "x\xB1", {8, 2}, "0+1@0+1 1+1@1+2*"},
      {"a pair takes a tab along", "\xB1\t", {8, 1}, "0+2@0+2*"},
      {"tabs are at most 1000 columns", "\t\tx", {2147483647, 0}, "0+1@0+1000 1+1@1000+1000 2+1@2000+1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Walk(c.line, c.rules), c.spans) << c.name;
}

}  // namespace
}  // namespace mosaikon
