// The conversions to and from the Chinese code pages, through the system's
// tables: characters both ways, and no best-fit stand-ins.
#include "common/code_pages.h"

#include <gtest/gtest.h>

namespace mosaikon {
namespace {

TEST(CodePages, ConvertTheChineseCodePagesBothWays) {
  EXPECT_EQ(WideToCodePage(kCodePageGb2312, u"A\u4E2D\u6587\u2500"), "A\xD6\xD0\xCE\xC4\xA9\xA4");
  EXPECT_EQ(WideToCodePage(kCodePageBig5, u"\u4E2D\u2500"), "\xA4\xA4\xA2\x77");
  EXPECT_EQ(CodePageToWide(kCodePageGb2312, "A\xD6\xD0\xCE\xC4"), u"A\u4E2D\u6587");
  EXPECT_EQ(CodePageToWide(kCodePageBig5, "\xA4\xA4x"), u"\u4E2Dx");
  // A character the code page lacks is one "?", not a look-alike.
  EXPECT_EQ(WideToCodePage(kCodePageGb2312, u"a\u263Ab\u0E01"), "a?b?");
}

}  // namespace
}  // namespace mosaikon
