// Tests of the shared string helpers: which bytes count as white space for
// trimming, and how SplitString counts delimiters and forms its pieces.
#include "common/string_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

struct TrimCase {
  std::string input;
  std::string left;
  std::string right;
  std::string both;
};

TEST(TrimHelpers, RemoveOnlyAsciiControlsNineToThirteenAndBlank) {
  const std::vector<TrimCase> cases = {
      {"", "", "", ""},
      {" \t\n\v\f\r", "", "", ""},
      {"abc", "abc", "abc", "abc"},
      {" \ta b\r\n", "a b\r\n", " \ta b", "a b"},
      {"\x0Bx\x0C", "x\x0C", "\x0Bx", "x"},
      // Backspace, SO and NUL are not white space.
      {"\x08x\x0E", "\x08x\x0E", "\x08x\x0E", "\x08x\x0E"},
      {std::string("\0x\0", 3), std::string("\0x\0", 3), std::string("\0x\0", 3), std::string("\0x\0", 3)},
      // Bytes of 0x80 and above (NBSP 0xA0, NEL 0x85, a GB2312 lead byte) stay.
      {"\xA0 x \x85", "\xA0 x \x85", "\xA0 x \x85", "\xA0 x \x85"},
      {" \xD6\xD0 ", "\xD6\xD0 ", " \xD6\xD0", "\xD6\xD0"},
  };
  for (const TrimCase& c : cases) {
    std::string left = c.input, right = c.input, both = c.input;
    TrimLeft(left);
    TrimRight(right);
    Trim(both);
    EXPECT_EQ(left, c.left) << "TrimLeft of [" << c.input << "]";
    EXPECT_EQ(right, c.right) << "TrimRight of [" << c.input << "]";
    EXPECT_EQ(both, c.both) << "Trim of [" << c.input << "]";
  }
}

struct SplitCase {
  std::string source;
  std::string delimiter;
  bool keepEmpty;
  bool trim;
  int occurrences;
  std::vector<std::string> pieces;
};

TEST(SplitString, CountsOccurrencesAndFormsPiecesByTheRules) {
  const std::vector<SplitCase> cases = {
      // The file-type list as the settings page writes it.
      {"asc;nfo;txt;", ";", false, true, 3, {"asc", "nfo", "txt"}},
      // Blanks around entries and an empty entry between two delimiters.
      {" txt ; ;nfo", ";", false, true, 2, {"txt", "nfo"}},
      {"TXT;Nfo", ";", false, true, 1, {"TXT", "Nfo"}},
      // An occurrence at position 0 counts and leaves an empty first piece.
      {";a", ";", true, false, 1, {"", "a"}},
      {";a", ";", false, false, 1, {"a"}},
      // A trailing occurrence leaves an empty last piece.
      {"a;", ";", true, false, 1, {"a", ""}},
      {"a;;b", ";", true, false, 2, {"a", "", "b"}},
      {"a;;b", ";", false, false, 2, {"a", "b"}},
      {";;;", ";", false, true, 3, {}},
      {";;;", ";", true, false, 3, {"", "", "", ""}},
      // No occurrence: the whole source is the one piece.
      {"abc", ";", false, false, 0, {"abc"}},
      {"", ";", true, false, 0, {""}},
      {"", ";", false, true, 0, {}},
      {"  ", ";", false, true, 0, {}},
      {"  ", ";", true, true, 0, {""}},
      // Without trim the pieces keep their blanks; a blank-only piece is not empty.
      {" a ; b ", ";", false, false, 1, {" a ", " b "}},
      {"a; ;b", ";", false, false, 2, {"a", " ", "b"}},
      // Trim happens before the emptiness test, so kept empty pieces are "".
      {" ; x", ";", true, true, 1, {"", "x"}},
      // Delimiters used by the send-selection feature.
      {"user-pass-1234", "-", false, true, 2, {"user", "pass", "1234"}},
      {"1 2  3", " ", false, true, 3, {"1", "2", "3"}},
      {" 1 ", " ", false, true, 2, {"1"}},
      // Longer delimiters: each search starts right after the previous occurrence.
      {"a--b--", "--", true, false, 2, {"a", "b", ""}},
      {"a---b", "--", true, false, 1, {"a", "-b"}},
      {"aaa", "aa", true, false, 1, {"", "a"}},
      {"aaaa", "aa", true, false, 2, {"", "", ""}},
      // White space of 0x80 and above is never trimmed.
      {"\xA0x\xA0;y", ";", false, true, 1, {"\xA0x\xA0", "y"}},
      // An empty delimiter never occurs.
      {"a;b", "", false, true, 0, {"a;b"}},
      {"", "", true, false, 0, {""}},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string> pieces;
    const int occurrences = SplitString(c.source, c.delimiter, c.keepEmpty, c.trim, pieces);
    SCOPED_TRACE(::testing::Message() << "[" << c.source << "] at [" << c.delimiter << "] keepEmpty " << c.keepEmpty
                                      << " trim " << c.trim);
    EXPECT_EQ(occurrences, c.occurrences);
    EXPECT_EQ(pieces, c.pieces);
  }
}

TEST(SplitString, EmptiesTheOutputFirst) {
  std::vector<std::string> pieces = {"old", "entries"};
  EXPECT_EQ(SplitString("", ";", false, true, pieces), 0);
  EXPECT_TRUE(pieces.empty());
  pieces = {"old"};
  EXPECT_EQ(SplitString("x;y", ";", false, true, pieces), 1);
  EXPECT_EQ(pieces, (std::vector<std::string>{"x", "y"}));
}

}  // namespace
}  // namespace mosaikon
