// The 256-colour table and the storage of lines with cell values.
#include "document/extended_colours.h"

namespace mosaikon {

CellColour ColourOfTable256(unsigned n) {
  if (n < 16) return n;
  if (n >= 232) {
    const unsigned grey = 8 + 10 * (n - 232);
    return OwnColour(grey, grey, grey);
  }
  const unsigned cube = n - 16;
  const auto level = [](unsigned k) { return k == 0 ? 0u : 55 + 40 * k; };
  return OwnColour(level(cube / 36), level(cube / 6 % 6), level(cube % 6));
}

void ExtendedColours::SetLineCells(std::int32_t line, std::int32_t lineCount, const std::uint32_t* cells,
                                   std::int32_t length) {
  if (lineCells_.empty()) lineCells_.assign(static_cast<std::size_t>(lineCount), kNone);
  lineCells_[static_cast<std::size_t>(line)] = static_cast<std::uint32_t>(cells_.size());
  cells_.insert(cells_.end(), cells, cells + length);
}

}  // namespace mosaikon
