// The metadata record at the end of art files: its fields and flags, the
// comment block and the lies a file can tell about it, the code page 437
// texts, the record kept with a loaded document whose display stays as it
// was, and every corpus file that carries one.
#include "document/sauce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/text_document.h"

namespace mosaikon {
namespace {

// A record as a writer lays it out: fields padded with `pad`, numbers
// little-endian.
struct RecordSpec {
  std::string title = "Title";
  std::string author = "Author";
  std::string date = "20240229";
  int commentCount = 0;
  unsigned char flags = 0;
  char pad = ' ';
};

std::string Record(const RecordSpec& spec) {
  const auto field = [&spec](std::string text, std::size_t size) {
    text.resize(size, spec.pad);
    return text;
  };
  std::string record = "SAUCE00" + field(spec.title, 35) + field(spec.author, 20) + field("Group", 20) +
                       field(spec.date, 8) + std::string("\x10\x27\x00\x00", 4) + "\x01\x01" +
                       std::string("\x50\x00\x34\x12\x00\x00\x00\x00", 8);
  record += static_cast<char>(spec.commentCount);
  record += static_cast<char>(spec.flags);
  record += std::string("IBM VGA").append(15, '\0');
  return record;
}

std::string CommentBlock(std::initializer_list<const char*> lines) {
  std::string block = "COMNT";
  for (const char* line : lines) block += std::string(line).append(64 - std::string(line).size(), ' ');
  return block;
}

TEST(Sauce, ReadsTheFieldsOfTheLastRecord) {
  RecordSpec spec;
  spec.title = "Block \xDB\xDB title  ";
  spec.pad = '\0';
  const auto sauce = ParseSauce("art\x1a" + Record(spec));
  ASSERT_TRUE(sauce.has_value());
  EXPECT_EQ(sauce->title, "Block \xDB\xDB title");
  EXPECT_EQ(sauce->author, "Author");
  EXPECT_EQ(sauce->group, "Group");
  EXPECT_EQ(sauce->date, "20240229");
  EXPECT_EQ(sauce->fileSize, 10000u);
  EXPECT_EQ(sauce->dataType, 1);
  EXPECT_EQ(sauce->fileType, 1);
  EXPECT_EQ(sauce->tInfo1, 80);
  EXPECT_EQ(sauce->tInfo2, 0x1234);
  EXPECT_EQ(sauce->tInfoS, "IBM VGA");
  EXPECT_TRUE(sauce->comments.empty());

  // Garbage that a writer left after a NUL is not part of the field.
  spec.author = std::string("Ann\0junk", 8);
  EXPECT_EQ(ParseSauce(Record(spec))->author, "Ann");
}

TEST(Sauce, OnlyACompleteRecordAtTheVeryEndCounts) {
  const std::string record = Record({});
  EXPECT_TRUE(ParseSauce(record).has_value());             // a file of the record alone
  EXPECT_FALSE(ParseSauce(record.substr(1)).has_value());  // 127 bytes
  EXPECT_FALSE(ParseSauce(record + "\n").has_value());
  EXPECT_FALSE(ParseSauce("SAUCE01" + record.substr(7)).has_value());
  EXPECT_FALSE(ParseSauce("").has_value());
}

TEST(Sauce, CommentsOnlyWhenTheBlockIsThere) {
  struct Case {
    const char* name;
    std::string before;  // the bytes before the record
    int claimed;
    std::vector<std::string> comments;
  };
  const std::string two = CommentBlock({"first line", ""});
  const Case cases[] = {
      {"block as claimed", "art\x1a" + two, 2, {"first line", ""}},
      {"block alone before the record", two, 2, {"first line", ""}},
      {"signature missing", "art\x1a" + std::string(5 + 128, ' '), 2, {}},
      {"file too short for the claim", two, 3, {}},
      {"claim smaller than the block", "art" + two, 1, {}},
      {"255 claimed in a small file", "art", 255, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordSpec spec;
    spec.commentCount = c.claimed;
    const auto sauce = ParseSauce(c.before + Record(spec));
    ASSERT_TRUE(sauce.has_value());
    EXPECT_EQ(sauce->commentCount, c.claimed);
    EXPECT_EQ(sauce->comments, c.comments);
  }
}

TEST(Sauce, FlagBits) {
  struct Case {
    unsigned char flags;
    bool ice;
    int spacing;
    int aspect;
  };
  for (const Case& c :
       {Case{0x00, false, 0, 0}, Case{0x01, true, 0, 0}, Case{0x02, false, 1, 0}, Case{0x04, false, 2, 0},
        Case{0x06, false, 3, 0}, Case{0x08, false, 0, 1}, Case{0x13, true, 1, 2}, Case{0xFF, true, 3, 3}}) {
    RecordSpec spec;
    spec.flags = c.flags;
    const auto sauce = ParseSauce(Record(spec));
    EXPECT_EQ(sauce->IceColours(), c.ice) << int(c.flags);
    EXPECT_EQ(sauce->LetterSpacing(), c.spacing) << int(c.flags);
    EXPECT_EQ(sauce->AspectRatio(), c.aspect) << int(c.flags);
  }
}

TEST(Sauce, DecodesCodePage437) {
  EXPECT_EQ(DecodeCp437("\xC9\xCD\xBB \xB0\xB1\xB2\xDB"), u"\u2554\u2550\u2557 \u2591\u2592\u2593\u2588");
  EXPECT_EQ(DecodeCp437("Caf\x82 \x9C\xE1\xFF"), u"Caf\u00E9 \u00A3\u00DF\u00A0");
  EXPECT_EQ(DecodeCp437(std::string("\x01\x1A\x7F\0", 4)), u"\u263A\u2192\u2302 ");
  EXPECT_EQ(DecodeCp437("Plain ASCII ~"), u"Plain ASCII ~");
}

TEST(Sauce, LoadedDocumentKeepsTheRecordAndShowsWhatItShowedBefore) {
  const std::string record = Record({});
  TextDocument document;
  document.Build("\x1b[31mred\r\n\x1a" + record, {});
  ASSERT_TRUE(document.sauce.has_value());
  EXPECT_EQ(document.sauce->title, "Title");
  ASSERT_EQ(document.LineCount(), 1);  // the ANSI canvas is still cut at the record
  EXPECT_EQ(document.lines[0].Text(), "red");

  LoadOptions plain;
  plain.supportAnsi = false;
  document.Build("text\x1a" + record, plain);
  ASSERT_TRUE(document.sauce.has_value());
  std::string shown = "text\x1a" + record;  // a plain document shows every byte, NUL as a blank
  std::replace(shown.begin(), shown.end(), '\0', ' ');
  EXPECT_EQ(document.text, shown);

  // The record is read from the file's bytes, before a UTF-16 conversion.
  document.Build(std::string("\xff\xfe"
                             "a\0",
                             4) +
                     record,
                 {});
  EXPECT_TRUE(document.sauce.has_value());

  document.Build("no record", {});
  EXPECT_FALSE(document.sauce.has_value());
}

TEST(Sauce, CorpusFilesWithARecord) {
  const std::filesystem::path corpus = MOSAIKON_SOURCE_DIR "/../shared/corpus";
  std::error_code status;
  if (!std::filesystem::is_directory(corpus, status)) GTEST_SKIP() << "no corpus at " << corpus.string();
  int withRecord = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const bool carries = bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 7, "SAUCE00") == 0;
    TextDocument document;
    ErrorCode error = 0;
    ASSERT_TRUE(document.LoadFile(entry.path().string(), {}, error)) << entry.path();
    ASSERT_EQ(document.sauce.has_value(), carries) << entry.path();
    if (!carries) continue;
    ++withRecord;
    const SauceRecord& sauce = *document.sauce;
    const std::string_view record = std::string_view(bytes).substr(bytes.size() - 128);
    const auto filled = [&record](std::size_t at, std::size_t size) {
      return record.substr(at, size).find_first_not_of(std::string_view(" \0", 2)) != std::string_view::npos;
    };
    EXPECT_EQ(!sauce.title.empty(), filled(7, 35)) << entry.path();
    EXPECT_EQ(!sauce.author.empty(), filled(42, 20)) << entry.path();
    EXPECT_EQ(sauce.date.size(), 8u) << entry.path();
    EXPECT_EQ(sauce.comments.size(), sauce.commentCount) << entry.path();
  }
  EXPECT_GT(withRecord, 0);
}

}  // namespace
}  // namespace mosaikon
