// Colours beyond the attribute byte, for the art Modern Rendering reads: the
// 256-colour table and 24-bit colours. A document with 16 colours keeps one
// attribute byte per cell and nothing more; a line that holds a colour the
// byte cannot say gets one 32-bit value per cell besides, which either is an
// attribute byte or names a pair of colours in the document's table.
#pragma once

#include <cstdint>
#include <vector>

namespace mosaikon {

// A colour of a cell: a palette index 0-15, or a colour of its own (the
// platform's 0x00BBGGRR layout) marked with kOwnColour.
using CellColour = std::uint32_t;
constexpr CellColour kOwnColour = 0x01000000;

constexpr CellColour OwnColour(unsigned red, unsigned green, unsigned blue) {
  return kOwnColour | red | green << 8 | blue << 16;
}
constexpr bool IsPaletteIndex(CellColour colour) {
  return colour < 16;
}

// Entry n of the 256-colour table: 0-15 are the palette indices themselves,
// 16-231 the 6 x 6 x 6 cube (levels 0, 95, 135, 175, 215, 255; n = 16 + 36r +
// 6g + b), 232-255 the greys 8 + 10k. `n` must be below 256.
CellColour ColourOfTable256(unsigned n);

struct ColourPair {
  CellColour text;
  CellColour background;
  bool operator==(const ColourPair&) const = default;
};

// The cell values of a line: below kFirstPairCell a value is an attribute
// byte; from there on it names pair (value - kFirstPairCell).
constexpr std::uint32_t kFirstPairCell = 256;

class ExtendedColours {
 public:
  bool Empty() const { return lineCells_.empty(); }
  // The cell values of `line`, one per byte; null when its attribute bytes
  // say everything.
  const std::uint32_t* Cells(std::int32_t line) const {
    if (static_cast<std::size_t>(line) >= lineCells_.size() || lineCells_[line] == kNone) return nullptr;
    return cells_.data() + lineCells_[line];
  }
  const ColourPair& Pair(std::uint32_t cell) const { return pairs_[cell - kFirstPairCell]; }
  std::size_t PairCount() const { return pairs_.size(); }

  // Building, by the interpreter: the pair table grows as colours turn up;
  // then the lines with cell values are added in order.
  std::vector<ColourPair>& pairs() { return pairs_; }
  void SetLineCells(std::int32_t line, std::int32_t lineCount, const std::uint32_t* cells, std::int32_t length);

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  std::vector<ColourPair> pairs_;
  std::vector<std::uint32_t> lineCells_;  // per line: where its values start in cells_, or kNone
  std::vector<std::uint32_t> cells_;
};

}  // namespace mosaikon
