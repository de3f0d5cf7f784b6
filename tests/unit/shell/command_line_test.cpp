// Tests of the command-line file name rule and of the hand-over records.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
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
      // The last character after an opening quote goes, whatever it is, and
      // only that character: a whole UTF-8 sequence.
      {"\"cat.ans", "cat.an"},
      {"\"cat.ans\" ", "cat.ans\""},
      {"\"\xD0\x9A\xD0\xBE\xD1\x82", "\xD0\x9A\xD0\xBE"},
      {"\"", ""},
      {"\"\"", ""},
      // A quote that is not first is an ordinary byte.
      {"cat \"1\".ans", "cat \"1\".ans"},
      {" \"cat.ans\"", " \"cat.ans\""},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(CommandLineFileName(line), expected) << line;
}

TEST(CommandLineArguments, FollowTheProgramsNameAndTheBlanksAfterIt) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"Mosaikon.exe", ""},
      {"Mosaikon.exe cat.ans", "cat.ans"},
      {"\"C:\\my programs\\Mosaikon.exe\"  \"C:\\my art\\cat.ans\"", "\"C:\\my art\\cat.ans\""},
      // Blanks inside quotes belong to the name, wherever the quotes are.
      {"C:\\my\" \"programs\\Mosaikon.exe a b ", "a b "},
      {"\"C:\\\xD0\x9F\\Mosaikon.exe\"\t\xCE\xA9.nfo", "\xCE\xA9.nfo"},
      {"\xE6\x97\xA5.exe \xE6\x97\xA5.ans", "\xE6\x97\xA5.ans"},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(CommandLineArguments(line), expected) << line;
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
      // Bytes of the ANSI code page (Windows-1252 where the suites run).
      {"caf\xE9.ans", 8, {Kind::kOpen, "caf\xC3\xA9.ans"}},
      {path.data(), 259, {Kind::kOpen, path.substr(0, 259)}},
      {path.data(), 260, {Kind::kTooLong, ""}},
      {path.data(), 1000, {Kind::kTooLong, ""}},
  };
  for (const auto& c : cases) EXPECT_TRUE(DecodeHandOver(c.bytes, c.count) == c.handOver) << c.count;
}

TEST(HandOver, PathsTheAnsiCodePageCannotHoldTravelAsUtf16) {
  using Kind = HandOver::Kind;
  // What older copies send and take, byte for byte.
  EXPECT_EQ(EncodeHandOver("C:\\caf\xC3\xA9.ans").kind, kNarrowHandOver);
  EXPECT_EQ(EncodeHandOver("C:\\caf\xC3\xA9.ans").bytes, "C:\\caf\xE9.ans");

  const std::string name = "C:\\\xD0\x9F\\\xCE\xA9\xE6\x97\xA5.ans";  // П, Ω, 日
  const HandOverRecord record = EncodeHandOver(name);
  EXPECT_EQ(record.kind, kWideHandOver);
  EXPECT_EQ(record.bytes, std::string("C\0:\0\\\0\x1F\x04\\\0\xA9\x03\xE5\x65.\0a\0n\0s\0", 22));
  EXPECT_TRUE(DecodeWideHandOver(record.bytes.data(), 22) == (HandOver{Kind::kOpen, name}));
  // An odd byte does not count, a NUL unit ends the path, no units is nothing.
  EXPECT_TRUE(DecodeWideHandOver(record.bytes.data(), 5) == (HandOver{Kind::kOpen, "C:"}));
  EXPECT_TRUE(DecodeWideHandOver("a\0\0\0b\0", 6) == (HandOver{Kind::kOpen, "a"}));
  EXPECT_TRUE(DecodeWideHandOver("a", 1) == HandOver{});
  EXPECT_TRUE(DecodeWideHandOver(nullptr, 8) == HandOver{});

  std::u16string units(260, u'\x65E5');
  std::string bytes(units.size() * 2, '\0');
  std::memcpy(bytes.data(), units.data(), bytes.size());
  EXPECT_EQ(DecodeWideHandOver(bytes.data(), 518).path.size(), 259u * 3);
  EXPECT_EQ(DecodeWideHandOver(bytes.data(), 520).kind, Kind::kTooLong);
}

}  // namespace
}  // namespace mosaikon
