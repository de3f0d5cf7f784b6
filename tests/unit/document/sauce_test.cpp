// The metadata record at the end of art files: its fields and flags, the
// comment block and the lies a file can tell about it, the code page 437
// texts, and the record kept with loaded art that ends before it.
#include "document/sauce.h"

#include <gtest/gtest.h>

#include <string>

#include "document/text_document.h"

namespace mosaikon {
namespace {

// A record as a writer lays it out: NUL-padded fields (the author with a
// writer's garbage after its NUL), numbers little-endian.
std::string Record(int commentCount = 0) {
  const auto field = [](std::string text, std::size_t size) { return text.append(size - text.size(), '\0'); };
  return "SAUCE00" + field("Block \xDB\xDB title  ", 35) + field(std::string("Ann\0junk", 8), 20) + field("Group", 20) +
         "20240229" + std::string("\x10\x27\x00\x00\x01\x01\x50\x00\x34\x12\0\0\0\0", 14) +
         static_cast<char>(commentCount) + "\x13" + field("IBM VGA", 22);
}

TEST(Sauce, ReadsTheFieldsAndFlags) {
  const SauceRecord expected{
      "Block \xDB\xDB title", "Ann", "Group", "20240229", 10000, 1, 1, 80, 0x1234, 0, 0, 0, 0x13, "IBM VGA"};
  const std::string record = Record();
  EXPECT_EQ(ParseSauce("art\x1a" + record), expected);
  EXPECT_EQ(ParseSauce(record), expected);  // a file of the record alone
  EXPECT_TRUE(expected.IceColours());
  EXPECT_EQ(expected.LetterSpacing(), 1);  // bits 1-2
  EXPECT_EQ(expected.AspectRatio(), 2);    // bits 3-4
}

TEST(Sauce, CommentsOnlyWhenTheBlockIsThere) {
  const std::string two = "COMNT" + std::string("first line").append(54, ' ') + std::string(64, '\0');
  const struct {
    const char* name;
    std::string before;  // the bytes before the record
    int claimed;
    std::vector<std::string> comments;
  } cases[] = {
      {"block as claimed", "art\x1a" + two, 2, {"first line", ""}},
      {"block alone before the record", two, 2, {"first line", ""}},
      {"claim smaller than the block", "art" + two, 1, {}},
  };
  for (const auto& c : cases) {
    const auto sauce = ParseSauce(c.before + Record(c.claimed));
    ASSERT_TRUE(sauce.has_value()) << c.name;
    EXPECT_EQ(sauce->commentCount, c.claimed) << c.name;
    EXPECT_EQ(sauce->comments, c.comments) << c.name;
  }
}

TEST(Sauce, DecodesCodePage437) {
  EXPECT_EQ(DecodeCp437("\xC9\xCD\xBB \xB0\xB1\xB2\xDB"), u"\u2554\u2550\u2557 \u2591\u2592\u2593\u2588");
  EXPECT_EQ(DecodeCp437("Caf\x82 \x9C\xE1\xFF~"), u"Caf\u00E9 \u00A3\u00DF\u00A0~");
  EXPECT_EQ(DecodeCp437(std::string("\x01\x1A\x7F\0", 4)), u"\u263A\u2192\u2302 ");
}

TEST(Sauce, LoadedArtKeepsTheRecordAndEndsBeforeIt) {
  const std::string record = Record();
  TextDocument document;
  document.Build("\x1b[31mred\r\n\x1a" + record, {});
  EXPECT_EQ(document.sauce, ParseSauce(record));
  ASSERT_EQ(document.LineCount(), 1);  // the ANSI canvas is still cut at the record
  EXPECT_EQ(document.lines[0].Text(), "red");
}

}  // namespace
}  // namespace mosaikon
