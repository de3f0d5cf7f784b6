// The hot-key feature types the selection into another program's edit boxes:
// this turns the selected text into the pieces that go into consecutive boxes.
#pragma once

#include <string>
#include <vector>

namespace mosaikon {

// The first line of the trimmed text, split at dashes (or, without a dash, at
// blanks), each piece trimmed, empty pieces dropped.
std::vector<std::string> SelectionPieces(std::string text);

}  // namespace mosaikon
