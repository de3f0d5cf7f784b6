// Tests of UTF-8 detection and decoding: which files count as UTF-8, and the
// bytes their characters become in code pages 437, 936 and 950.
#include "document/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

#include "document/code_page_437.h"

namespace mosaikon {
namespace {

std::string Decode(const std::string& bytes, Utf8Decoding how = {}) {
  std::string out(bytes.size(), '\0');
  out.resize(DecodeUtf8(bytes.data(), bytes.size(), out.data(), how));
  return out;
}

TEST(Utf8Text, TellsUtf8FromOtherBytes) {
  const std::string longAscii(40, 'a');
  const std::pair<std::string, bool> cases[] = {
      {"", false},
      {"plain ASCII only", false},
      {"\xE2\x94\x80", true},                  // a box line
      {"caf\xC3\xA9", true},                   // two bytes
      {longAscii + "\xF0\x9F\x98\x80", true},  // an emoji after whole words of ASCII
      {"\xC0\xAF", false},                     // overlong
      {"\xE0\x80\xAF", false},                 // overlong in three bytes
      {"\xF0\x80\x80\xAF", false},             // overlong in four bytes
      {"\xED\xA0\x80", false},                 // a surrogate
      {"\xF4\x90\x80\x80", false},             // above U+10FFFF
      {"\xE2\x94", false},                     // cut short
      {longAscii + "\x80", false},             // a lone continuation byte
      {"\xFF\xFE", false},
      {"\xDB\xDB\xB0\xB1 \xC9\xCD\xBB", false},  // code page 437 art
      {"\xC9\xCD", false},                       // 437 bytes that start like UTF-8
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(IsUtf8Text(bytes), utf8) << ::testing::PrintToString(bytes);
  EXPECT_TRUE(HasUtf8Mark("\xEF\xBB\xBFx"));
  EXPECT_FALSE(HasUtf8Mark("\xEF\xBB"));
}

TEST(Utf8Text, DecodesToCodePage437WithTheControlGlyphs) {
  Utf8Decoding cells;
  cells.cells = true;
  Utf8Decoding arrowStandIn = cells;
  arrowStandIn.arrow = '\0';
  const struct {
    const char* utf8;
    std::string plain, cells, standIn;
  } cases[] = {
      {"\u250C\u2500\u2510 \u2588\u2591", "\xDA\xC4\xBF \xDB\xB0", "\xDA\xC4\xBF \xDB\xB0", "\xDA\xC4\xBF \xDB\xB0"},
      {"caf\u00E9 \u00DF\u00B1", "caf\x82 \xE1\xF1", "caf\x82 \xE1\xF1", "caf\x82 \xE1\xF1"},
      // Glyphs at control positions: the tab and line-break ones are "?" in plain text.
      {"\u263A\u2665\u25CB\u25D9\u266A\u2302", "\x01\x03???\x7F", "\x01\x03\x09\x0A\x0D\x7F",
       "\x01\x03\x09\x0A\x0D\x7F"},
      {"\u2190\u2192", "\x1B\x1A", "\x1B\x1A", std::string("\x1B\0", 2)},
      // The no-break space is 0xFF, which the text never holds; missing
      // characters and anything beyond U+FFFF are one "?" each.
      {"a\u00A0b\u65E5\U0001F600c", "a b??c", "a b??c", "a b??c"},
      // The file's own bytes below 0x80 stay, NUL becomes a blank.
      {"\t\x1b\x01", "\t\x1b\x01", "\t\x1b\x01", "\t\x1b\x01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Decode(c.utf8), c.plain);
    EXPECT_EQ(Decode(c.utf8, cells), c.cells);
    EXPECT_EQ(Decode(c.utf8, arrowStandIn), c.standIn);
  }
  EXPECT_EQ(Decode(std::string("a\0b", 3)), "a b");
  // Every byte of no complete character is one "?" (what follows a mark).
  EXPECT_EQ(Decode("a\xFF"
                   "b\xE2\x94"
                   "c\x80\xC0\xAF"
                   "d\xED\xA0\x80"),
            "a?b??c???d???");
}

TEST(Utf8Text, DecodesInPlaceThroughLongText) {
  std::string text;
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    text += "ab\u2500cdefghij\u2588";
    expected +=
        "ab\xC4"
        "cdefghij\xDB";
  }
  text.resize(DecodeUtf8(text.data(), text.size(), text.data(), {}));
  EXPECT_EQ(text, expected);
}

TEST(Utf8Text, DecodesToTheChineseCodePages) {
  Utf8Decoding gb;
  gb.decodeMode = 1;
  Utf8Decoding big5;
  big5.decodeMode = 2;
  // Without best-fit stand-ins: what the code page lacks is one "?".
  EXPECT_EQ(Decode("A\u4E2D\u6587 \u2500\u263A\U0001F600!", gb),
            "A\xD6\xD0\xCE\xC4 \xA9\xA4??"
            "!");
  EXPECT_EQ(Decode("\u4E2D\u2500x\xFF", big5), "\xA4\xA4\xA2\x77x?");
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "\u4E2D";
  EXPECT_EQ(Decode(many, gb).size(), 10000u);
}

TEST(CodePage437, GlyphsAndBytesMatchBothWays) {
  for (unsigned byte = 1; byte < 256; ++byte) {
    const char16_t glyph = Cp437Glyph(static_cast<unsigned char>(byte));
    EXPECT_EQ(Cp437ByteOf(glyph), static_cast<int>(byte)) << byte;
  }
  EXPECT_EQ(Cp437Glyph(0x01), u'\u263A');
  EXPECT_EQ(Cp437ByteOf(U'\u65E5'), -1);
  EXPECT_EQ(Cp437ByteOf(U'\U0001F600'), -1);
}

}  // namespace
}  // namespace mosaikon
