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

TEST(ColumnWalk, RunsAndSkipsLandWhereSingleStepsDo) {
  const auto add = [](std::string& out, std::int64_t index, std::int64_t column) {
    out.append(out.empty() ? "" : " ").append(std::to_string(index)).append("@").append(std::to_string(column));
  };
  for (const ColumnRules rules : {ColumnRules{3, 0}, ColumnRules{4, 1}}) {
    const std::string line = "ab\tc\xD6\xD0\t\xB1xyz\t";
    // Plain runs split into single steps, so the walks must agree span by span.
    std::string runs;
    ColumnWalk runWalk(line, rules);
    CellSpan span;
    while (runWalk.NextRun(span, 1000)) {
      const bool single = span.pair || line[static_cast<std::size_t>(span.index)] == '\t';
      for (std::int64_t k = 0; k < (single ? 1 : span.cells); ++k) add(runs, span.index + k, span.column + k);
    }
    std::string steps;
    ColumnWalk stepWalk(line, rules);
    while (stepWalk.Next(span)) add(steps, span.index, span.column);
    EXPECT_EQ(runs, steps);
    // After SkipTo(c) the next span is the first one that ends past c.
    for (std::int64_t target = -1; target <= 20; ++target) {
      ColumnWalk skipped(line, rules);
      skipped.SkipTo(target);
      ColumnWalk stepped(line, rules);
      CellSpan expected;
      bool more = stepped.Next(expected);
      while (more && expected.End() <= target) more = stepped.Next(expected);
      ASSERT_EQ(skipped.Next(span), more) << target;
      if (more) {
        EXPECT_EQ(span.index, expected.index) << target;
      }
    }
  }
}

}  // namespace
}  // namespace mosaikon
