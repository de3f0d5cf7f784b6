// Pieces the hot key types into consecutive edit boxes.
#include "view/send_pieces.h"

#include <gtest/gtest.h>

namespace mosaikon {
namespace {

struct PiecesCase {
  const char* text;
  std::vector<std::string> pieces;
};

TEST(SelectionPieces, SplitAtDashesElseBlanksFirstLineOnly) {
  const PiecesCase cases[] = {
      {"red-green-blue", {"red", "green", "blue"}},
      {"two    words", {"two", "words"}},
      {"alpha one - beta two", {"alpha one", "beta two"}},
      {"-red-green", {"red", "green"}},
      {"\r\n  first line\r\nsecond line", {"first", "line"}},
      {"one\ttwo", {"one\ttwo"}},
      {" \t\r\n", {}},
      {"", {}},
      {"---", {}},
  };
  for (const PiecesCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SelectionPieces(c.text), c.pieces);
  }
}

}  // namespace
}  // namespace mosaikon
