// Tests of loading by the modern rules: the SAUCE record and comment block
// taken off plain and ANSI text, UTF-8 files decoded (in ANSI art only the
// file's own bytes break lines and start sequences), code page 437 and
// UTF-16 files as they were; what a classic load says the modern rules would
// change; and real files of the shared corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/modern_features.h"
#include "document/text_document.h"
#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

using testing::CheckDocumentInvariants;
using testing::LineTexts;

LoadOptions Modern(std::int32_t decodeMode = 0, bool supportAnsi = true) {
  LoadOptions options;
  options.modern = true;
  options.decodeMode = decodeMode;
  options.supportAnsi = supportAnsi;
  return options;
}

TextDocument Built(const std::string& bytes, const LoadOptions& options) {
  TextDocument document;
  document.Build(bytes, options);
  EXPECT_EQ(CheckDocumentInvariants(document, options.tabSize), "") << ::testing::PrintToString(bytes);
  return document;
}

// A record with `comments` comment lines and the given flags, the block in front.
std::string Metadata(const std::vector<std::string>& comments, char flags = 0, const std::string& title = "Title") {
  std::string block;
  if (!comments.empty()) {
    block = "COMNT";
    for (std::string line : comments) block += line.append(64 - line.size(), ' ');
  }
  std::string record = "SAUCE00" + title;
  record.append(94 - record.size(), ' ');
  record += std::string("\x01\x01\x50\0\x19\0\0\0\0\0", 10) + static_cast<char>(comments.size()) + flags;
  record.append(128 - record.size(), '\0');
  return block + record;
}

TEST(ModernLoad, MetadataComesOffPlainAndAnsiText) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"plain text, mark and record", "text\r\n\x1a" + Metadata({}), {"text", ""}},
      {"plain text with comments", "text\x1a" + Metadata({"a comment", "another"}), {"text"}},
      {"ANSI art with comments", "\x1b[0mart\x1a" + Metadata({"one"}), {"art", ""}},
      // The row cut still finds an older record further up.
      {"a file saved twice", "\x1b[0mart\r\n\x1aSAUCE00old\r\nmore\x1a" + Metadata({}), {"art"}},
      // A claimed comment block that is not there: only the record goes.
      {"comments claimed but missing", "text" + Metadata({}).replace(104, 1, "\x02"), {"text"}},
      {"no valid record: kept as text", "text\r\nSAUCE00", {"text", "SAUCE00"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TextDocument document = Built(c.bytes, Modern());
    EXPECT_EQ(LineTexts(document), c.lines);
    EXPECT_TRUE(document.sauce.has_value() || c.bytes.find("SAUCE00") == c.bytes.size() - 7);
  }
}

TEST(ModernLoad, Utf8TextBecomesTheViewsCodePage) {
  const struct {
    const char* name;
    std::string bytes;
    LoadOptions options;
    std::vector<std::string> lines;
    bool ansi;
  } cases[] = {
      {"box drawing", "\u250C\u2500\u2510\r\n\u2502x\u2502", Modern(), {"\xDA\xC4\xBF", "\xB3x\xB3"}, false},
      {"glyphs of tab and breaks are no breaks", "\u25CB\u25D9\u266A\u263A", Modern(), {"???\x01"}, false},
      {"mark dropped, bad bytes one ? each",
       "\xEF\xBB\xBF"
       "a\xFF"
       "b\xE2\x94"
       "c",
       Modern(),
       {"a?b??c"},
       false},
      {"a 437 title does not spoil the test", "\u2588" + Metadata({}, 0, "\xDB\xDB"), Modern(), {"\xDB"}, false},
      {"GB2312", "\u4E2D\u6587", Modern(1), {"\xD6\xD0\xCE\xC4"}, false},
      {"Big5", "\u4E2D", Modern(2), {"\xA4\xA4"}, false},
      {"ANSI art", "\x1b[31m\u250C\u2500\u25D9\u2190", Modern(), {"\xDA\xC4\x0A\x1B", ""}, true},
      // A decoded arrow is no end-of-file mark; the file's own one is.
      {"decoded arrow", "\x1b[0m\u2192SAUCE x\r\n\u2500\x1aSAUCE", Modern(), {"\x1ASAUCE x"}, true},
      {"mark and escapes", "\xEF\xBB\xBF\x1b[31m\u00E9\xFF", Modern(), {"\x82?", ""}, true},
      {"code page 437 art stays", "\x1b[0m\xDB\xDB\xB0", Modern(), {"\xDB\xDB\xB0", ""}, true},
      {"ESC ] alone makes ANSI art",
       "a\x1b]8;;http://x\x07"
       "b",
       Modern(),
       {"ab", ""},
       true},
      {"ESC ] without ANSI support",
       "a\x1b]8;;x\x07"
       "b",
       Modern(0, false),
       {"a\x1b]8;;x\x07"
        "b"},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TextDocument document = Built(c.bytes, c.options);
    EXPECT_EQ(LineTexts(document), c.lines);
    EXPECT_EQ(document.ansi, c.ansi);
    EXPECT_TRUE(document.modern);
  }
  // The decoded arrow's cell and the own arrow's: the same byte, only one cuts.
  const TextDocument art = Built("\x1b[0m\u2192\r\n\x1aSAUCE", Modern());
  EXPECT_EQ(LineTexts(art), std::vector<std::string>{"\x1A"});
  EXPECT_NE(art.features & kUtf8Text, 0u);
}

TEST(ModernLoad, Utf16LoadsAsBefore) {
  const std::string utf16(
      "\xff\xfe"
      "A\0\x1b\0[\0"
      "1\0m\0B\0",
      14);
  TextDocument classic;
  classic.Build(utf16, {});
  const TextDocument modern = Built(utf16, Modern());
  EXPECT_EQ(LineTexts(modern), LineTexts(classic));
  EXPECT_FALSE(modern.modern);
  EXPECT_EQ(modern.features, 0u);
}

// What a classic load notes for the hint: only what the modern rules show
// differently, one-based cursor moves alone being nothing.
TEST(ModernLoad, ClassicLoadsNoteWhatTheModernRulesChange) {
  const struct {
    const char* name;
    std::string bytes;
    std::uint32_t features;
  } cases[] = {
      {"24-bit colour", "\x1b[38;2;1;2;3mx", kTrueColours},
      {"24-bit, colon form", "\x1b[48:2::1:2:3mx", kTrueColours},
      {"the art editors' form", "\x1b[1;255;0;0tx", kTrueColours},
      {"256 colours", "\x1b[48;5;20mx", kTable256Colours},
      {"bright colours", "\x1b[0;97mx", kBrightColours},
      {"UTF-8", "\x1b[0m\u2500", kUtf8Text},
      {"UTF-8 mark", "\xEF\xBB\xBFplain", kUtf8Text},
      {"UTF-8 with a record", "\u2588" + Metadata({}, 0, "\xDB\xFF"), kUtf8Text},
      {"comments", "text" + Metadata({"comment"}), kSauceComments},
      {"iCE flag in ANSI art", "\x1b[5;44mx" + Metadata({}, 1), kIceColours},
      {"iCE flag in plain text", "plain" + Metadata({}, 1), 0},
      {"strings",
       "\x1b[0ma\x1b]8;;http://x\x07"
       "b",
       kOscStrings},
      {"strings alone", "a\x1b]0;t\x07", kOscStrings},
      {"one-based moves alone", "\x1b[1;1Hx\x1b[Hy", 0},
      {"code page 437 art", "\x1b[1;31m\xDB\xB0\xFF\xC9\xCD", 0},
      {"UTF-16", std::string("\xff\xfe\x00\x25", 4), 0},
  };
  for (const auto& c : cases) {
    TextDocument document;
    document.Build(c.bytes, {});
    EXPECT_EQ(document.features, c.features) << c.name;
    EXPECT_FALSE(document.modern) << c.name;
  }
  TextDocument noAnsi;
  noAnsi.Build("\x1b[38;5;1mx\x1b]0;t\x07", {8, false});
  EXPECT_EQ(noAnsi.features, 0u);
}

std::string ReadCorpusFile(const std::string& name) {
  std::ifstream in(std::string(MOSAIKON_SOURCE_DIR "/../shared/corpus/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Scene art drawn for the classic canvas lays out the same by the modern
// rules, up to the end of the art; files with lines of exactly 80 cells lose
// the empty rows the classic wrap leaves after them.
TEST(ModernLoad, CorpusArtKeepsItsLayout) {
  if (!std::filesystem::is_directory(MOSAIKON_SOURCE_DIR "/../shared/corpus")) GTEST_SKIP() << "no corpus";
  for (const auto& [name, artRows] : {std::pair{"xero/x0-defcon25.ans", 130}, {"xero/x0-outlaw-research.ans", 53}}) {
    SCOPED_TRACE(name);
    const std::string bytes = ReadCorpusFile(name);
    TextDocument classic;
    classic.Build(bytes, {});
    const TextDocument modern = Built(bytes, Modern());
    ASSERT_GE(modern.LineCount(), artRows);
    for (int row = 0; row < artRows; ++row) {
      const TextLine& before = classic.lines[row];
      const TextLine& after = modern.lines[row];
      ASSERT_EQ(after.Text(), before.Text()) << "row " << row;
      // iCE colours may only brighten a background.
      for (std::int32_t k = 0; k < after.length; ++k) {
        const auto a = static_cast<unsigned char>(before.attributes.data()[k]);
        const auto b = static_cast<unsigned char>(after.attributes.data()[k]);
        EXPECT_TRUE(a == b || b == (a | 0x08)) << "row " << row << " cell " << k;
      }
    }
    EXPECT_EQ(modern.text.find("COMNT"), std::string::npos);
  }
  for (const char* name : {"phmajerus/Sonic-Green-Hill-Zone-256-colors.ans", "phmajerus/QBasic-UTF-8.txt"}) {
    SCOPED_TRACE(name);
    const TextDocument modern = Built(ReadCorpusFile(name), Modern());
    EXPECT_TRUE(modern.ansi);
    int fullRows = 0;
    // The last row is where the cursor ended, empty.
    for (std::int32_t row = 0; row + 2 < modern.LineCount(); ++row) {
      if (modern.lines[row].length != kAnsiWidth) continue;
      ++fullRows;
      EXPECT_NE(modern.lines[row + 1].length, 0) << "an empty row after full row " << row;
    }
    EXPECT_GE(fullRows, 20);
  }
}

}  // namespace
}  // namespace mosaikon
