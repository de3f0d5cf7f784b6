// Tests of the command-line file name rule and of hand-over decoding.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

TEST(CommandLineFileName, FollowsTheQuoteRuleByteForByte) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"C:\\art\\cat.ans", "C:\\art\\cat.ans"},
      {"\"C:\\my art\\cat.ans\"", "C:\\my art\\cat.ans"},
      // Blanks are kept and the line is never split into arguments.
      {"  a b.txt ", "  a b.txt "},
      // The last byte after an opening quote goes, whatever it is.
      {"\"cat.ans", "cat.an"},
      {"\"cat.ans\" ", "cat.ans\""},
      {"\"", ""},
      {"\"\"", ""},
      // A quote that is not first is an ordinary byte.
      {"cat \"1\".ans", "cat \"1\".ans"},
      {" \"cat.ans\"", " \"cat.ans\""},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(CommandLineFileName(line), expected) << line;
}

TEST(HandOver, CarriesTheCountedBytesUpToANulAndRefusesMoreThan259) {
  using Kind = HandOver::Kind;
  const std::string path(1000, 'p');
  const struct {
    const char* bytes;
    std::uint32_t count;
    HandOver handOver;
  } cases[] = {
      {"abc", 0, {}},
      {nullptr, 5, {}},
      {"C:\\art\\cat.ansXYZ", 14, {Kind::kOpen, "C:\\art\\cat.ans"}},
      {"ab\0c", 4, {Kind::kOpen, "ab"}},
      {"\0c", 2, {Kind::kOpen, ""}},
      {path.data(), 259, {Kind::kOpen, path.substr(0, 259)}},
      {path.data(), 260, {Kind::kTooLong, ""}},
      {path.data(), 1000, {Kind::kTooLong, ""}},
  };
  for (const auto& c : cases) EXPECT_TRUE(DecodeHandOver(c.bytes, c.count) == c.handOver) << c.count;
}

}  // namespace
}  // namespace mosaikon
