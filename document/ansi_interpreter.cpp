// Replays ANSI art onto an 80-column canvas and turns the canvas into the
// document. The canvas keeps every row at most 80 cells between writes, so
// text that overflows a row is handed down in 80-cell chunks, and work stays
// proportional to the cells written even for hostile cursor moves.
#include "document/ansi_interpreter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace mosaikon {

const AnsiPalette& DefaultAnsiPalette() {
  static const AnsiPalette palette = {
      Rgb(0x00, 0x00, 0x00), Rgb(0x80, 0x00, 0x00), Rgb(0x00, 0x80, 0x00), Rgb(0x80, 0x80, 0x00),
      Rgb(0x00, 0x00, 0x80), Rgb(0x80, 0x00, 0x80), Rgb(0x00, 0x80, 0x80), Rgb(0xC0, 0xC0, 0xC0),
      Rgb(0x80, 0x80, 0x80), Rgb(0xFF, 0x00, 0x00), Rgb(0x00, 0xFF, 0x00), Rgb(0xFF, 0xFF, 0x00),
      Rgb(0x00, 0x00, 0xFF), Rgb(0xFF, 0x00, 0xFF), Rgb(0x00, 0xFF, 0xFF), Rgb(0xFF, 0xFF, 0xFF),
  };
  return palette;
}

namespace {

constexpr std::int32_t kWidth = kAnsiWidth;
constexpr std::int32_t kLastRow = kMaxAnsiRows - 1;
constexpr char kBlank = ' ';
constexpr char kBlankAttribute = static_cast<char>(kDefaultAttribute);

// Which rows are exactly 80 cells long, so that a wrap can skip past a run of
// full rows without visiting them one by one. Level 0 has a bit per row; a bit
// of level k+1 is set when the 64 bits of its word in level k are all set.
class FullRows {
 public:
  void Clear() {
    for (auto& level : levels_) level.clear();
  }

  void Set(std::int32_t row, bool full) {
    std::uint32_t index = static_cast<std::uint32_t>(row);
    for (auto& level : levels_) {
      const std::uint32_t word = index >> 6;
      const std::uint64_t bit = std::uint64_t{1} << (index & 63);
      if (full) {
        if (word >= level.size()) level.resize(word + 1, 0);
        level[word] |= bit;
        if (level[word] != ~std::uint64_t{0}) return;
      } else {
        if (word >= level.size()) return;
        const bool wasAllSet = level[word] == ~std::uint64_t{0};
        level[word] &= ~bit;
        if (!wasAllSet) return;
      }
      index = word;
    }
  }

  // The first row at or after `row` that is not full (it may lie past the canvas).
  std::int32_t NextNotFull(std::int32_t row) const {
    return static_cast<std::int32_t>(NextClear(0, static_cast<std::uint32_t>(row)));
  }

 private:
  static constexpr int kLevels = 4;  // 64^4 rows, far above kMaxAnsiRows
  static_assert(kMaxAnsiRows <= (std::int64_t{1} << (6 * kLevels)));

  std::uint64_t Word(int level, std::uint32_t word) const {
    const auto& bits = levels_[level];
    return word < bits.size() ? bits[word] : 0;
  }

  std::uint32_t NextClear(int level, std::uint32_t index) const {
    const std::uint64_t clear = ~Word(level, index >> 6) & (~std::uint64_t{0} << (index & 63));
    if (clear != 0) return (index & ~63u) + static_cast<std::uint32_t>(std::countr_zero(clear));
    if (level + 1 == kLevels) return ((index >> 6) + 1) * 64;  // unreachable: the top word is never full
    // The rest of this word is full: the level above finds the next word with a gap.
    const std::uint32_t word = NextClear(level + 1, (index >> 6) + 1);
    return word * 64 + static_cast<std::uint32_t>(std::countr_zero(~Word(level, word)));
  }

  std::vector<std::uint64_t> levels_[kLevels];
};

// Fixed 80-byte slots for the rows' text. A row gets its slot on first use and
// keeps it; an erase of the whole canvas recycles all slots at once.
class TextSlots {
 public:
  std::int32_t Allocate() {
    if (static_cast<std::uint32_t>(used_) / kSlotsPerBlock == blocks_.size()) {
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(std::size_t{kSlotsPerBlock} * kWidth));
    }
    return used_++;
  }

  char* At(std::int32_t slot) const {
    const auto index = static_cast<std::uint32_t>(slot);
    return blocks_[index / kSlotsPerBlock].get() + std::size_t{index % kSlotsPerBlock} * kWidth;
  }
  void Recycle() { used_ = 0; }

 private:
  static constexpr std::uint32_t kSlotsPerBlock = 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::int32_t used_ = 0;
};

// A row of the canvas: 16 bytes (12 on 32-bit Windows) while it is empty. A row
// that holds cells has an 80-byte text slot and an 80-byte attribute buffer;
// the attribute buffer is handed on to the row's line at the end, saving a
// copy of every attribute.
struct Row {
  LineBytes attributes;
  std::int32_t slot = -1;  // text slot, -1 before the row's first cell
  std::int32_t length = 0;
};

// Where a row's cells are while it is being written.
struct RowCells {
  char* text;
  char* attributes;
};

// Copies and fills of a few bytes are the common case (a run between two
// colour changes); overlapping word moves avoid a library call for each.
inline void CopyBytes(char* to, const char* from, std::size_t count) {
  if (count > 16) {
    std::memcpy(to, from, count);
  } else if (count >= 8) {
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + count - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + count - 8, &tail, 8);
  } else if (count >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + count - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + count - 4, &tail, 4);
  } else if (count > 0) {
    to[0] = from[0];
    to[count / 2] = from[count / 2];
    to[count - 1] = from[count - 1];
  }
}

inline void FillBytes(char* to, char value, std::size_t count) {
  if (count > 16) {
    std::memset(to, value, count);
  } else if (count >= 8) {
    const std::uint64_t word = 0x0101010101010101u * static_cast<unsigned char>(value);
    std::memcpy(to, &word, 8);
    std::memcpy(to + count - 8, &word, 8);
  } else if (count >= 4) {
    const std::uint32_t word = 0x01010101u * static_cast<unsigned char>(value);
    std::memcpy(to, &word, 4);
    std::memcpy(to + count - 4, &word, 4);
  } else if (count > 0) {
    to[0] = value;
    to[count / 2] = value;
    to[count - 1] = value;
  }
}

// The first ESC in [p, end), or `end`. Runs between sequences are short, so
// the first bytes are tested eight at a time in a register (no call, one
// branch per word); long runs are left to memchr.
inline const char* FindEscape(const char* p, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    for (int words = 0; words < 4 && end - p >= 8; ++words, p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t x = word ^ (kOnes * 0x1B);
      // The lowest set bit marks the first byte equal to ESC.
      const std::uint64_t found = (x - kOnes) & ~x & (kOnes * 0x80);
      if (found) return p + (std::countr_zero(found) >> 3);
    }
  }
  const void* escape = std::memchr(p, 0x1B, static_cast<std::size_t>(end - p));
  return escape ? static_cast<const char*>(escape) : end;
}

// The overflow of a write beyond column 80: `blanks` lengthening cells, then
// the tail of the written run. It is never copied out; chunks are read from it.
struct Overflow {
  std::int64_t blanks = 0;
  const char* run = nullptr;
  std::int64_t runLength = 0;
  char attribute = 0;

  std::int64_t Size() const { return blanks + runLength; }

  // Copies cells [from, from + count) of the overflow to the start of `row`.
  void CopyTo(std::int64_t from, std::int32_t count, RowCells row) const {
    const std::int64_t blankEnd = std::min<std::int64_t>(blanks, from + count);
    std::int32_t at = 0;
    if (from < blankEnd) {
      at = static_cast<std::int32_t>(blankEnd - from);
      FillBytes(row.text, kBlank, at);
      FillBytes(row.attributes, kBlankAttribute, at);
    }
    if (at < count) {
      CopyBytes(row.text + at, run + (from + at - blanks), count - at);
      FillBytes(row.attributes + at, attribute, count - at);
    }
  }
};

// Parameters of the sequence being read. Nearly every sequence has a few, so
// they live in a fixed array; a longer list spills into a vector.
class Parameters {
 public:
  void Clear() {
    count_ = 0;
    spill_.clear();
  }
  void Add(std::int32_t value) {
    if (count_ < kInline) {
      inline_[count_] = value;
    } else {
      spill_.push_back(value);
    }
    ++count_;
  }
  std::size_t Count() const { return count_; }
  std::int32_t operator[](std::size_t index) const {
    return index < kInline ? inline_[index] : spill_[index - kInline];
  }

 private:
  static constexpr std::size_t kInline = 16;
  std::int32_t inline_[kInline] = {};
  std::size_t count_ = 0;
  std::vector<std::int32_t> spill_;
};

class Interpreter {
 public:
  explicit Interpreter(std::size_t expectedRows) {
    rows_.reserve(std::min<std::size_t>(expectedRows, kMaxAnsiRows));
    rows_.emplace_back();
  }

  void ReadLine(const char* p, const char* end);
  void Finish(TextDocument& document);

 private:
  void WriteRun(const char* bytes, std::int64_t count);
  void Wrap(const Overflow& overflow);
  const char* ReadSequence(const char* p, const char* end);
  void Execute(char command);
  void SelectGraphicRendition();

  void EnsureRow(std::int32_t row) {
    if (row >= static_cast<std::int32_t>(rows_.size())) rows_.resize(static_cast<std::size_t>(row) + 1);
  }
  // Where a downward cursor move to `target` lands.
  std::int32_t ClampMove(std::int64_t target) const {
    const std::int64_t lowest = static_cast<std::int64_t>(rows_.size()) - 1 + kMaxAnsiRowJump;
    return static_cast<std::int32_t>(std::min({target, lowest, std::int64_t{kLastRow}}));
  }
  static std::int32_t ClampColumn(std::int64_t column) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(column, 0, kMaxAnsiColumn));
  }
  // The cells of row `index`, which gets its storage on first use.
  RowCells Cells(std::int32_t index) {
    Row& row = rows_[index];
    if (row.slot < 0) {
      row.slot = slots_.Allocate();
      row.attributes.Assign(kWidth, kBlankAttribute);
      usedRows_.push_back(index);
    }
    return {slots_.At(row.slot), row.attributes.data()};
  }
  // Lengthens (with blanks) or cuts row `index` to `length` <= 80 cells.
  RowCells Resize(std::int32_t index, std::int32_t length);
  char Attribute() const { return static_cast<char>(foreground_ * 16 + background_); }

  std::vector<Row> rows_;
  TextSlots slots_;
  std::vector<std::int32_t> usedRows_;  // rows that hold storage, for a cheap erase
  FullRows fullRows_;
  Parameters parameters_;
  std::int32_t row_ = 0;
  std::int32_t column_ = 0;
  std::int32_t savedRow_ = 0;
  std::int32_t savedColumn_ = 0;
  int foreground_ = 7;
  int background_ = 0;
};

RowCells Interpreter::Resize(std::int32_t index, std::int32_t length) {
  if (length == 0 && rows_[index].slot < 0) return {nullptr, nullptr};
  const RowCells cells = Cells(index);
  Row& row = rows_[index];
  if (length > row.length) {
    FillBytes(cells.text + row.length, kBlank, length - row.length);
    FillBytes(cells.attributes + row.length, kBlankAttribute, length - row.length);
  }
  if ((row.length == kWidth) != (length == kWidth)) fullRows_.Set(index, length == kWidth);
  row.length = length;
  return cells;
}

void Interpreter::ReadLine(const char* p, const char* end) {
  const char* run = p;
  while (p < end) {
    p = FindEscape(p, end);
    if (p == end) break;
    if (p + 1 == end || p[1] != '[') {
      ++p;  // an ESC without "[" is text
      continue;
    }
    if (p > run) WriteRun(run, p - run);
    p = run = ReadSequence(p + 2, end);
  }
  if (end > run) WriteRun(run, end - run);
  column_ = 0;
  row_ = std::min(row_ + 1, kLastRow);
  EnsureRow(row_);
}

// Reads the sequence after ESC "[" and returns where the next text run starts:
// after the command letter, or right after ESC "[" when no letter comes before
// the next ESC "[" (the parameter bytes then show as text).
const char* Interpreter::ReadSequence(const char* p, const char* end) {
  parameters_.Clear();
  std::int64_t number = 0;
  bool pending = false;
  for (const char* q = p; q < end; ++q) {
    const unsigned char byte = static_cast<unsigned char>(*q);
    if (static_cast<unsigned>(byte - '0') < 10u) {
      // Saturating keeps any number of digits harmless.
      number = std::min<std::int64_t>(number * 10 + (byte - '0'), kMaxAnsiNumber);
      pending = true;
      continue;
    }
    const bool letter = static_cast<unsigned>((byte | 0x20) - 'a') < 26u;
    if (byte == ';' || letter) {
      if (pending) parameters_.Add(static_cast<std::int32_t>(number));
      number = 0;
      pending = false;
      if (letter) {
        Execute(static_cast<char>(byte));
        EnsureRow(row_);
        return q + 1;
      }
    } else if (byte == 0x1B && q + 1 < end && q[1] == '[') {
      break;
    }
  }
  return p;
}

void Interpreter::Execute(char command) {
  const std::size_t count = parameters_.Count();
  const std::int64_t step = count == 1 ? parameters_[0] : 1;
  switch (command) {
    case 'A':
      row_ = static_cast<std::int32_t>(std::max<std::int64_t>(row_ - step, 0));
      break;
    case 'B':
      row_ = ClampMove(row_ + step);
      break;
    case 'C':
      column_ = ClampColumn(column_ + step);
      break;
    case 'D':
      column_ = ClampColumn(column_ - step);
      break;
    case 'H':
    case 'f':
      if (count >= 2) {
        row_ = ClampMove(parameters_[0]);
        column_ = ClampColumn(parameters_[1]);
      }
      break;
    case 'J':
      // The canvas becomes one empty row and then grows back to the cursor
      // row. Only rows that ever held cells need clearing, so a repeated
      // erase far down the canvas costs nothing per empty row.
      for (const std::int32_t index : usedRows_) {
        if (index < static_cast<std::int32_t>(rows_.size())) rows_[index] = Row();
      }
      usedRows_.clear();
      slots_.Recycle();
      fullRows_.Clear();
      rows_.resize(static_cast<std::size_t>(row_) + 1);
      break;
    case 'K':
      // Past the row's end the row is lengthened to the cursor, but never
      // beyond 80 cells: no row outgrows the canvas between writes.
      Resize(row_, std::min(column_, kWidth));
      break;
    case 'm':
      SelectGraphicRendition();
      break;
    case 's':
      savedRow_ = row_;
      savedColumn_ = column_;
      break;
    case 'u':
      row_ = ClampMove(savedRow_);
      column_ = savedColumn_;
      break;
    default:
      break;
  }
}

void Interpreter::SelectGraphicRendition() {
  for (std::size_t i = 0; i < parameters_.Count(); ++i) {
    const std::int32_t value = parameters_[i];
    if (value == 0) {
      foreground_ = 7;
      background_ = 0;
    } else if (value == 1) {
      if (foreground_ < 8) foreground_ += 8;
    } else if (value == 7) {
      const int oldForeground = foreground_;
      foreground_ = background_;
      background_ = oldForeground >= 8 ? oldForeground - 8 : oldForeground;
    } else if (value == 8) {
      foreground_ = background_;
    } else if (value >= 30 && value <= 37) {
      foreground_ = (value - 30) + (foreground_ >= 8 ? 8 : 0);
    } else if (value >= 40 && value <= 47) {
      background_ = value - 40;
    }
  }
}

void Interpreter::WriteRun(const char* bytes, std::int64_t count) {
  const std::int64_t start = column_;
  const std::int64_t end = start + count;
  const std::int32_t oldLength = rows_[row_].length;
  if (end < kWidth && oldLength < kWidth) {
    // The common case: the run stays inside a row that is not full.
    const RowCells cells = Cells(row_);
    if (start > oldLength) {
      FillBytes(cells.text + oldLength, kBlank, start - oldLength);
      FillBytes(cells.attributes + oldLength, kBlankAttribute, start - oldLength);
    }
    CopyBytes(cells.text + start, bytes, count);
    FillBytes(cells.attributes + start, Attribute(), count);
    rows_[row_].length = std::max(oldLength, static_cast<std::int32_t>(end));
    column_ = static_cast<std::int32_t>(end);
    return;
  }
  // The row ends up full; whatever lies beyond 80 cells overflows.
  const RowCells cells = Resize(row_, kWidth);
  if (start < kWidth) {
    const auto inRow = static_cast<std::int32_t>(std::min<std::int64_t>(count, kWidth - start));
    CopyBytes(cells.text + start, bytes, inRow);
    FillBytes(cells.attributes + start, Attribute(), inRow);
  }
  Overflow overflow;
  overflow.attribute = Attribute();
  if (end > kWidth) {
    overflow.blanks = std::max<std::int64_t>(start - kWidth, 0);
    const std::int64_t runStart = std::max<std::int64_t>(start, kWidth);
    overflow.run = bytes + (runStart - start);
    overflow.runLength = end - runStart;
  }
  Wrap(overflow);
}

// Hands the overflow of a full row down to the rows below: a chunk of 80 cells
// replaces a row's cells outright, a shorter final chunk overwrites the start
// of the row and leaves the cursor after it. A row that ends up full passes the
// cursor on to the next row that is not full. Below the last allowed row there
// is nowhere to go, so the overflow wraps onto that row itself.
void Interpreter::Wrap(const Overflow& overflow) {
  const std::int64_t size = overflow.Size();
  std::int64_t from = 0;
  for (;;) {
    std::int64_t rest = size - from;
    if (row_ >= kLastRow) {
      // Only the last full chunk and what follows it can remain visible.
      if (rest >= 2 * kWidth) from += (rest - kWidth) / kWidth * kWidth;
      rest = size - from;
      row_ = kLastRow;
    } else if (rest == 0) {
      row_ = std::min(fullRows_.NextNotFull(row_ + 1), kLastRow);
    } else {
      ++row_;
    }
    EnsureRow(row_);
    if (rest >= kWidth) {
      overflow.CopyTo(from, kWidth, Resize(row_, kWidth));
      from += kWidth;
      continue;
    }
    const auto chunk = static_cast<std::int32_t>(rest);
    column_ = chunk;
    if (chunk > 0) {
      overflow.CopyTo(from, chunk, Resize(row_, std::max(rows_[row_].length, chunk)));
      from += chunk;
    }
    if (rows_[row_].length < kWidth || row_ >= kLastRow) return;
  }
}

void Interpreter::Finish(TextDocument& document) {
  // A row holding the end-of-file mark and the SAUCE signature ends the art.
  static constexpr char kSauce[] = "\x1ASAUCE";
  constexpr std::int32_t kSauceLength = sizeof(kSauce) - 1;
  std::size_t kept = rows_.size();
  for (std::size_t i = 0; i < rows_.size() && kept == rows_.size(); ++i) {
    const Row& row = rows_[i];
    if (row.length < kSauceLength) continue;
    const char* end = slots_.At(row.slot) + row.length;
    for (const char* p = slots_.At(row.slot); p <= end - kSauceLength; ++p) {
      p = static_cast<const char*>(std::memchr(p, kSauce[0], end - kSauceLength + 1 - p));
      if (!p) break;
      if (std::memcmp(p, kSauce, kSauceLength) == 0) {
        kept = i;
        break;
      }
    }
  }

  std::size_t total = 0;
  std::int32_t width = 0;
  for (std::size_t i = 0; i < kept; ++i) {
    total += static_cast<std::size_t>(rows_[i].length) + 2;
    width = std::max(width, rows_[i].length);
  }
  std::string text;
  text.reserve(total);
  for (std::size_t i = 0; i < kept; ++i) {
    if (rows_[i].length > 0) text.append(slots_.At(rows_[i].slot), rows_[i].length);
    text.append("\r\n", 2);
  }
  // The source lines may point into the old text: replace it only now.
  document.text = std::move(text);
  std::vector<TextLine> lines;
  lines.reserve(kept);
  const char* start = document.text.data();
  for (std::size_t i = 0; i < kept; ++i) {
    Row& row = rows_[i];
    TextLine& line = lines.emplace_back(start, row.length);
    // A nearly full row's 80-byte buffer becomes the line's attributes as it
    // is (only the first `length` bytes count); a short row gets an exact copy.
    if (row.length >= kWidth - 16) {
      line.attributes = std::move(row.attributes);
    } else if (row.length > 0) {
      line.attributes.Assign(row.attributes.data(), row.length);
    }
    start += row.length + 2;
  }
  document.lines = std::move(lines);
  document.width = width;
}

}  // namespace

void InterpretAnsi(const std::vector<TextLine>& sourceLines, TextDocument& document) {
  Interpreter interpreter(sourceLines.size() + 1);
  for (const TextLine& line : sourceLines) interpreter.ReadLine(line.start, line.start + line.length);
  interpreter.Finish(document);
}

}  // namespace mosaikon
