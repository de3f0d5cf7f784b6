// Which bytes count as white space for trimming.
#include "common/string_util.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace mosaikon
