// Tests of the shared string helpers: which bytes count as white space for
// trimming, and how SplitString counts delimiters and forms its pieces.
#include "common/string_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

TEST(Trim, RemovesOnlyBlanksAndAsciiControlsNineToThirteen) {
  // Backspace, SO, NUL and bytes of 0x80 and above (NBSP 0xA0, NEL 0x85, a
  // GB2312 pair) are not white space.
  const std::pair<std::string, std::string> cases[] = {
      {" \t\n\v\f\r", ""},
      {" \ta b\r\n", "a b"},
      {"\x08x\x0E", "\x08x\x0E"},
      {std::string("\0x\0", 3), std::string("\0x\0", 3)},
      {" \xA0\xD6\xD0\x85 ", "\xA0\xD6\xD0\x85"},
  };
  for (auto [text, trimmed] : cases) {
    Trim(text);
    EXPECT_EQ(text, trimmed);
  }
}

// Every caller passes keepEmpty off and trim on, with ";" (file-type lists)
// or "-" and " " (the pieces the hot key types).
TEST(SplitString, CountsOccurrencesAndKeepsTrimmedNonEmptyPieces) {
  struct Case {
    std::string source;
    std::string delimiter;
    int occurrences;  // not the number of pieces
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"asc;NFO;txt;", ";", 3, {"asc", "NFO", "txt"}},
      {" txt ; ;nfo", ";", 2, {"txt", "nfo"}},
      {";;;", ";", 3, {}},
      {"", ";", 0, {}},
      {"txt", ";", 0, {"txt"}},
      {"user-pass-1234", "-", 2, {"user", "pass", "1234"}},
      {" 1  2 ", " ", 4, {"1", "2"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> pieces = {"old"};  // emptied first
    EXPECT_EQ(SplitString(c.source, c.delimiter, false, true, pieces), c.occurrences) << c.source;
    EXPECT_EQ(pieces, c.pieces) << c.source;
  }
}

}  // namespace
}  // namespace mosaikon
