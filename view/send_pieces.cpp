// Splitting a selection into the pieces the hot key types.
#include "view/send_pieces.h"

#include "common/string_util.h"

namespace mosaikon {

std::vector<std::string> SelectionPieces(std::string text) {
  std::vector<std::string> pieces;
  Trim(text);
  if (text.empty()) return pieces;
  const std::size_t lineEnd = text.find_first_of("\r\n");
  if (lineEnd != std::string::npos) text.resize(lineEnd);
  const char* delimiter = text.find('-') != std::string::npos ? "-" : " ";
  SplitString(text, delimiter, false, true, pieces);
  return pieces;
}

}  // namespace mosaikon
