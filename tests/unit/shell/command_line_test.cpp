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
      {"a.txt b.txt", "a.txt b.txt"},
      // The last byte after an opening quote goes, whatever it is.
      {"\"cat.ans", "cat.an"},
      {"\"cat.ans\" ", "cat.ans\""},
      {"\"", ""},
      {"\"\"", ""},
      {"\"x\"", "x"},
      // A quote that is not first is an ordinary byte.
      {"cat \"1\".ans", "cat \"1\".ans"},
      {" \"cat.ans\"", " \"cat.ans\""},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(CommandLineFileName(line), expected) << line;
}

TEST(HandOver, EmptyRecordDoesNothing) {
  EXPECT_FALSE(DecodeHandOver("abc", 0).has_value());
  EXPECT_FALSE(DecodeHandOver(nullptr, 5).has_value());
}

TEST(HandOver, CarriesExactlyTheCountedBytes) {
  const char bytes[] = "C:\\art\\cat.ansXYZ";
  EXPECT_EQ(DecodeHandOver(bytes, 14), std::optional<std::string>("C:\\art\\cat.ans"));
  EXPECT_EQ(DecodeHandOver(bytes, 1), std::optional<std::string>("C"));
}

TEST(HandOver, CutsLongPathsAt259Bytes) {
  for (std::uint32_t length : {258u, 259u, 260u, 1000u}) {
    const std::string path(length, 'p');
    const std::optional<std::string> decoded = DecodeHandOver(path.data(), length);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->size(), length < 259 ? length : 259u) << length;
  }
}

TEST(HandOver, EmbeddedNulEndsThePath) {
  const char bytes[] = {'a', 'b', '\0', 'c'};
  EXPECT_EQ(DecodeHandOver(bytes, 4), std::optional<std::string>("ab"));
  EXPECT_EQ(DecodeHandOver(bytes + 2, 2), std::optional<std::string>(""));
}

}  // namespace
}  // namespace mosaikon
