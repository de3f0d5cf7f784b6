// Tests of the UTF-8 and UTF-16 conversions that carry paths through the
// program.
#include "common/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace mosaikon {
namespace {

TEST(Utf8, NamesOfEveryScriptAndUnpairedSurrogatesGoThereAndBack) {
  const std::u16string names[] = {
      u"C:\\art\\cat.ans",       u"C:\\Пример\\файл.txt", u"Ωμέγα.nfo", u"日本語のファイル.ans",
      u"\U0001F3A8 palette.ans",  // a pair of surrogates
      u"lone \xD800 high",       u"\xDC00 lone low",
  };
  for (const std::u16string& name : names) {
    const std::string utf8 = Utf16ToUtf8(name);
    EXPECT_EQ(Utf8ToUtf16(utf8), name);
    EXPECT_TRUE(IsUtf8(utf8));
  }
  EXPECT_EQ(Utf16ToUtf8(u"Ж€\U0001F3A8"), "\xD0\x96\xE2\x82\xAC\xF0\x9F\x8E\xA8");
}

TEST(Utf8, BytesOfNoSequenceBecomeReplacementCharacters) {
  // A lone continuation byte, a cut sequence, an overlong '/' and a byte
  // that never starts one.
  EXPECT_EQ(Utf8ToUtf16("a\x80"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
  for (const char* bytes : {"a\x80", "\xE6\x97", "\xC0\xAF", "caf\xE9"}) EXPECT_FALSE(IsUtf8(bytes)) << bytes;
}

TEST(Utf8, WithoutLastCharacterTakesAWholeSequence) {
  EXPECT_EQ(WithoutLastCharacter(""), "");
  EXPECT_EQ(WithoutLastCharacter("cat\""), "cat");
  EXPECT_EQ(WithoutLastCharacter("\xD0\x96\xD0\x96"), "\xD0\x96");        // Ж
  EXPECT_EQ(WithoutLastCharacter("a\xF0\x9F\x8E\xA8"), "a");              // one character of four bytes
  EXPECT_EQ(WithoutLastCharacter("a\x80\x80\x80\x80"), "a\x80\x80\x80");  // no sequence: its last byte
}

}  // namespace
}  // namespace mosaikon
