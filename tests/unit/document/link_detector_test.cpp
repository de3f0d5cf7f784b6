// Link marks: where a link starts and ends, case of the scheme, several links
// on a line, and trail bytes of double-byte characters.
#include "document/link_detector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/system.h"
#include "tests/unit/document/document_invariants.h"

namespace mosaikon {
namespace {

// A plain document of `text` with its links detected.
TextDocument PlainDocument(const std::string& text) {
  TextDocument document = testing::SplitDocument(text);
  DetectLinks(document);
  return document;
}

std::string Ones(int n) {
  return std::string(static_cast<std::size_t>(n), '1');
}
std::string Zeros(int n) {
  return std::string(static_cast<std::size_t>(n), '0');
}

struct MaskCase {
  const char* name;
  std::string line;
  std::string mask;  // "" when the line must keep an empty mask
};

TEST(LinkDetector, MarksLinksInALine) {
  const MaskCase cases[] = {
      {"after a word", "abc http://xyz", Zeros(4) + Ones(10)},
      {"capital scheme", "HTTP://x.org", Ones(12)},
      {"mixed case", "hTtP://Q", Ones(8)},
      {"https is not a link", "https://x.org", ""},
      {"punctuation belongs to the link", "(http://x.org).", Zeros(1) + Ones(14)},
      {"scheme alone", "http://", Ones(7)},
      {"incomplete scheme", "http:/", ""},
      {"tab ends a link, second link marked", "http://a\tb http://c", Ones(8) + Zeros(3) + Ones(8)},
      {"high byte ends a link", "http://a\x80z", Ones(8) + Zeros(2)},
      {"vertical tab and form feed end a link", "http://a\vb\fhttp://c", Ones(8) + Zeros(3) + Ones(8)},
      {"half scheme before a scheme", "http:http://x", Zeros(5) + Ones(8)},
      // Case folding applies to letters only: 0x1A and 0x0F are ':' and '/' less 0x20.
      {"control bytes are not the scheme's punctuation", "http\x1a\x0f\x0fx", ""},
  };
  for (const MaskCase& c : cases) {
    const TextDocument document = PlainDocument(c.line);
    ASSERT_EQ(document.lines.size(), 1u) << c.name;
    EXPECT_EQ(document.lines[0].LinkMask(), c.mask) << c.name;
  }
}

TEST(LinkDetector, TrailByteIsNotTheStartOfALink) {
  // Only meaningful where the ANSI code page is a double-byte one (under Wine
  // with a Chinese locale, say): 0x81 is then a lead byte and "h" its trail.
  if (!IsLeadByte(0x81)) GTEST_SKIP() << "the ANSI code page has no lead bytes";
  EXPECT_EQ(PlainDocument("\x81http://x").lines[0].LinkMask(), "");
  EXPECT_EQ(PlainDocument("\x81\x40http://x").lines[0].LinkMask(), Zeros(2) + Ones(8));
}

}  // namespace
}  // namespace mosaikon
