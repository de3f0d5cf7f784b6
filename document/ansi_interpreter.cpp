// Replays ANSI art onto an 80-column canvas and turns the canvas into the
// document. The canvas keeps every row at most 80 cells between writes, so
// text that overflows a row is handed down in 80-cell chunks, and work stays
// proportional to the cells written even for hostile cursor moves.
// The classic rules and the modern ones are two instantiations of one
// interpreter template: the classic path carries none of the modern work.
#include "document/ansi_interpreter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/modern_features.h"

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
constexpr std::uint32_t kBlankValue = kDefaultAttribute;

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
// copy of every attribute. (Under the modern rules the cell values a row may
// need besides go with its text slot, so that a row stays this small.)
struct Row {
  LineBytes attributes;
  std::int32_t slot = -1;  // text slot, -1 before the row's first cell
  std::int32_t length = 0;
};

// Where a row's cells are while it is being written.
struct RowCells {
  char* text;
  char* attributes;
  std::uint32_t* values;  // null where the row has none
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

inline void FillValues(std::uint32_t* to, std::uint32_t value, std::int64_t count) {
  std::fill_n(to, count, value);
}

// The overflow of a write beyond column 80: `blanks` lengthening cells, then
// the tail of the written run. It is never copied out; chunks are read from it.
struct Overflow {
  std::int64_t blanks = 0;
  const char* run = nullptr;
  std::int64_t runLength = 0;
  char attribute = 0;
  std::uint32_t value = 0;  // the run's cell value (modern rules)

  std::int64_t Size() const { return blanks + runLength; }

  // Copies cells [from, from + count) of the overflow to the start of `row`.
  template <bool kValues>
  void CopyTo(std::int64_t from, std::int32_t count, RowCells row) const {
    const std::int64_t blankEnd = std::min<std::int64_t>(blanks, from + count);
    std::int32_t at = 0;
    if (from < blankEnd) {
      at = static_cast<std::int32_t>(blankEnd - from);
      FillBytes(row.text, kBlank, at);
      FillBytes(row.attributes, kBlankAttribute, at);
      if constexpr (kValues) {
        if (row.values) FillValues(row.values, kBlankValue, at);
      }
    }
    if (at < count) {
      CopyBytes(row.text + at, run + (from + at - blanks), count - at);
      FillBytes(row.attributes + at, attribute, count - at);
      if constexpr (kValues) {
        if (row.values) FillValues(row.values + at, value, count - at);
      }
    }
  }
};

// Parameters of the sequence being read. Nearly every sequence has a few, so
// they live in a fixed array; a longer list spills into a vector. The modern
// rules keep empty fields (kEmpty) and know which fields follow a colon, as
// sub-parameters of the parameter before them.
class Parameters {
 public:
  static constexpr std::int32_t kEmpty = -1;

  void Clear() {
    count_ = 0;
    spill_.clear();
    subs_ = 0;
    farSub_ = false;
    colon_ = false;
  }
  void Add(std::int32_t value) {
    if (count_ < kInline) {
      inline_[count_] = value;
    } else {
      spill_.push_back(value);
    }
    ++count_;
  }
  // The field added last follows a colon.
  void MarkLastSub() {
    if (count_ <= 64) {
      subs_ |= std::uint64_t{1} << (count_ - 1);
    } else {
      farSub_ = true;
    }
    colon_ = true;
  }
  std::size_t Count() const { return count_; }
  std::int32_t operator[](std::size_t index) const {
    return index < kInline ? inline_[index] : spill_[index - kInline];
  }
  bool IsSub(std::size_t index) const { return index < 64 && (subs_ >> index & 1) != 0; }
  bool HasColon() const { return colon_; }
  // A colon so far down the list that it was not recorded: such a sequence
  // is hostile, and ignored.
  bool TooManyFields() const { return farSub_; }

 private:
  static constexpr std::size_t kInline = 16;
  std::int32_t inline_[kInline] = {};
  std::size_t count_ = 0;
  std::vector<std::int32_t> spill_;
  std::uint64_t subs_ = 0;
  bool farSub_ = false;
  bool colon_ = false;
};

// A digit of a parameter goes into `number`, which saturates: any number of
// digits stays harmless.
inline bool TakeDigit(unsigned char byte, std::int64_t& number) {
  if (static_cast<unsigned>(byte - '0') >= 10u) return false;
  number = std::min<std::int64_t>(number * 10 + (byte - '0'), kMaxAnsiNumber);
  return true;
}

// An ASCII letter ends a sequence as its command.
inline bool IsCommandLetter(unsigned char byte) {
  return static_cast<unsigned>((byte | 0x20) - 'a') < 26u;
}

// The colour pairs of a document, each stored once: an open-addressing table
// of pair numbers beside the pair list itself.
class PairIndex {
 public:
  std::uint32_t Find(const ColourPair& pair, std::vector<ColourPair>& pairs) {
    if (last_ && pairs[*last_] == pair) return *last_;
    if (slots_.empty()) slots_.assign(64, 0);
    std::size_t slot = Slot(pair);
    while (slots_[slot] != 0) {
      if (pairs[slots_[slot] - 1] == pair) return *(last_ = slots_[slot] - 1);
      slot = (slot + 1) & (slots_.size() - 1);
    }
    pairs.push_back(pair);
    slots_[slot] = static_cast<std::uint32_t>(pairs.size());
    if (pairs.size() * 2 > slots_.size()) Grow(pairs);
    return *(last_ = static_cast<std::uint32_t>(pairs.size() - 1));
  }

 private:
  std::size_t Slot(const ColourPair& pair) const {
    std::uint64_t key = std::uint64_t{pair.text} << 32 | pair.background;
    key *= 0x9E3779B97F4A7C15u;
    return static_cast<std::size_t>(key >> 32) & (slots_.size() - 1);
  }
  void Grow(const std::vector<ColourPair>& pairs) {
    slots_.assign(slots_.size() * 2, 0);
    for (std::uint32_t n = 0; n < pairs.size(); ++n) {
      std::size_t slot = Slot(pairs[n]);
      while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
      slots_[slot] = n + 1;
    }
  }

  std::vector<std::uint32_t> slots_;  // pair number + 1, 0 for a free slot
  std::optional<std::uint32_t> last_;
};

// The colour state of the modern rules.
struct Rendition {
  static constexpr std::uint8_t kBlink = 1;    // 5 or 6 until 0 or 25; only iCE colours show it
  static constexpr std::uint8_t kConceal = 2;  // 8 until 0 or 28
  CellColour foreground = 7;
  CellColour background = 0;
  std::uint8_t modes = 0;
};

// The hint of the classic rules: do the parameters of an "m" sequence that
// holds a colon use the colon forms of 38 and 48 (38:5:n, 38:2:r:g:b)?
std::uint32_t ColonColourForms(std::string_view sequence) {
  std::uint32_t features = 0;
  for (const std::string_view group : {"38:", "48:"}) {
    for (std::size_t at = sequence.find(group); at != std::string_view::npos; at = sequence.find(group, at + 1)) {
      const char kind = at + 3 < sequence.size() ? sequence[at + 3] : 0;
      if (kind == '5') features |= kTable256Colours;
      if (kind == '2') features |= kTrueColours;
    }
  }
  return features;
}

template <bool kModern>
class Interpreter {
 public:
  explicit Interpreter(std::size_t expectedRows) {
    rows_.reserve(std::min<std::size_t>(expectedRows, kMaxAnsiRows));
    rows_.emplace_back();
  }

  void SetModernOptions(const ModernAnsiOptions& options) {
    ice_ = options.iceColours;
    decoding_ = options.utf8;
    if (decoding_) runFlags_ |= kDecoding;
  }
  void ReadLine(const char* p, const char* end);
  void Finish(TextDocument& document);

 private:
  using CanvasRow = Row;

  void WriteRun(const char* bytes, std::int64_t count);
  template <bool kValues>
  void Write(const char* bytes, std::int64_t count);
  template <bool kValues>
  void Wrap(const Overflow& overflow, bool deferLast);
  const char* ReadSequence(const char* p, const char* end);
  void Execute(char command);
  void SelectGraphicRendition();

  // The modern rules.
  // An ESC that starts no "[" sequence: where the text goes on after it (`p`
  // itself when the ESC stays a cell), and its command, if it has one.
  struct Escape {
    const char* after;
    char command;
  };
  Escape ReadEscape(const char* p, const char* end);
  void EscapeCommand(char command);
  void ModernRendition();
  template <bool kColons>
  bool ApplyParameters(Rendition& rendition);
  std::size_t ExtendedColour(Rendition& rendition, bool foreground, std::size_t index);
  bool ApplyRendition(Rendition& rendition, std::int32_t value);
  void ArtEditorColour();
  // The common case inline: two palette colours, neither blink nor conceal.
  void UpdateCellValue() {
    if ((rendition_.modes | (rendition_.foreground | rendition_.background) >> 4) == 0) {
      attribute_ = static_cast<char>(rendition_.foreground * 16 + rendition_.background);
      value_ = static_cast<unsigned char>(attribute_);
      return;
    }
    UpdateCellValueSlowly();
  }
  void UpdateCellValueSlowly();
  // The move the classic rules make right after a row fills up: to the first
  // row below that is not full.
  bool PendingWrap() const { return (runFlags_ & kPendingWrap) != 0; }
  void TakePendingWrap() {
    runFlags_ &= ~kPendingWrap;
    row_ = std::min(fullRows_.NextNotFull(row_ + 1), kLastRow);
    EnsureRow(row_);
    column_ = 0;
  }

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
  // A cursor move, save or restore ends a pending wrap.
  void Moved() {
    if constexpr (kModern) runFlags_ &= ~kPendingWrap;
  }
  // The distance of a cursor move: the classic rules take the one parameter
  // only when it is alone; the modern ones take the first, an empty or 0 one
  // counting as 1.
  std::int64_t Step() const {
    if constexpr (kModern) {
      return Counted(0);
    } else {
      return parameters_.Count() == 1 ? parameters_[0] : 1;
    }
  }
  std::int64_t Counted(std::size_t index) const {
    const std::int32_t value = index < parameters_.Count() ? parameters_[index] : 0;
    return value > 0 ? value : 1;
  }
  // A parameter of "m" or "t", an empty one counting as 0.
  std::int32_t Value(std::size_t index) const { return std::max(parameters_[index], 0); }
  bool HasSubs(std::size_t index) const { return index + 1 < parameters_.Count() && parameters_.IsSub(index + 1); }
  std::size_t NextParameter(std::size_t index) const {
    for (++index; index < parameters_.Count() && parameters_.IsSub(index);) ++index;
    return index;
  }

  // The cells of row `index`, which gets its storage on first use. The
  // cell-level helpers take `kValues`: whether rows may have cell values,
  // which they can only once a colour beyond the attribute byte was set
  // (extended_), so that 16-colour art pays nothing for them.
  template <bool kValues>
  RowCells Cells(std::int32_t index) {
    CanvasRow& row = rows_[index];
    if (row.slot < 0) {
      row.slot = slots_.Allocate();
      row.attributes.Assign(kWidth, kBlankAttribute);
      usedRows_.push_back(index);
    }
    RowCells cells{slots_.At(row.slot), row.attributes.data(), nullptr};
    if constexpr (kValues) cells.values = Values(row.slot);
    return cells;
  }
  // The cell values kept with text slot `slot`, or null.
  std::uint32_t* Values(std::int32_t slot) const {
    return static_cast<std::size_t>(slot) < values_.size() ? values_[slot].get() : nullptr;
  }
  // `cells` of row `index`, made ready for a write in the current colours:
  // a colour beyond the attribute byte needs the row's cell values.
  template <bool kValues>
  RowCells ForWrite(RowCells cells, std::int32_t index) {
    if constexpr (kValues) {
      if (!cells.values && value_ >= kFirstPairCell) {
        auto values = std::make_unique_for_overwrite<std::uint32_t[]>(kWidth);
        for (std::int32_t i = 0; i < kWidth; ++i) values[i] = static_cast<unsigned char>(cells.attributes[i]);
        cells.values = values.get();
        const auto slot = static_cast<std::size_t>(rows_[index].slot);
        if (slot >= values_.size()) values_.resize(slot + 1);
        values_[slot] = std::move(values);
      }
    }
    return cells;
  }
  template <bool kValues>
  void FillBlanks(const RowCells& cells, std::int64_t from, std::int64_t count) {
    FillBytes(cells.text + from, kBlank, count);
    FillBytes(cells.attributes + from, kBlankAttribute, count);
    if constexpr (kValues) {
      if (cells.values) FillValues(cells.values + from, kBlankValue, count);
    }
  }
  template <bool kValues>
  void FillColours(const RowCells& cells, std::int64_t from, std::int64_t count) {
    FillBytes(cells.attributes + from, Attribute(), count);
    if constexpr (kValues) {
      if (cells.values) FillValues(cells.values + from, value_, count);
    }
  }
  // Lengthens (with blanks) or cuts row `index` to `length` <= 80 cells.
  template <bool kValues>
  RowCells Resize(std::int32_t index, std::int32_t length);
  RowCells ResizeAny(std::int32_t index, std::int32_t length) {
    if constexpr (kModern) {
      if (extended_) return Resize<true>(index, length);
    }
    return Resize<false>(index, length);
  }
  char Attribute() const {
    if constexpr (kModern) {
      return attribute_;
    } else {
      return static_cast<char>(foreground_ * 16 + background_);
    }
  }

  std::vector<CanvasRow> rows_;
  TextSlots slots_;
  std::vector<std::int32_t> usedRows_;  // rows that hold storage, for a cheap erase
  FullRows fullRows_;
  Parameters parameters_;
  std::int32_t row_ = 0;
  std::int32_t column_ = 0;
  std::int32_t savedRow_ = 0;
  std::int32_t savedColumn_ = 0;
  std::uint32_t features_ = 0;  // ModernFeature bits
  // The classic rules' colours, and a colon seen in the sequence being read.
  int foreground_ = 7;
  int background_ = 0;
  bool sawColon_ = false;
  // The modern rules' colours: the state, and what a cell written now gets.
  Rendition rendition_;
  char attribute_ = kBlankAttribute;   // the attribute byte (0x70 for a colour beyond it)
  std::uint32_t value_ = kBlankValue;  // the cell value: the attribute byte, or a pair
  ExtendedColours colours_;
  PairIndex pairIndex_;
  std::vector<std::unique_ptr<std::uint32_t[]>> values_;  // per text slot, null where none are needed
  bool extended_ = false;  // a colour beyond the attribute byte has been set: rows may have values
  bool ice_ = false;
  // What the next text run must see to first: kPendingWrap (the last column
  // was written and the cursor stands at column 80), kDecoding (UTF-8).
  static constexpr std::uint8_t kPendingWrap = 1;
  static constexpr std::uint8_t kDecoding = 2;
  std::uint8_t runFlags_ = 0;
  const Utf8Decoding* decoding_ = nullptr;
  std::string decoded_;  // a text run once decoded
};

template <bool kModern>
template <bool kValues>
RowCells Interpreter<kModern>::Resize(std::int32_t index, std::int32_t length) {
  if (length == 0 && rows_[index].slot < 0) return {nullptr, nullptr, nullptr};
  const RowCells cells = Cells<kValues>(index);
  CanvasRow& row = rows_[index];
  if (length > row.length) FillBlanks<kValues>(cells, row.length, length - row.length);
  if ((row.length == kWidth) != (length == kWidth)) fullRows_.Set(index, length == kWidth);
  row.length = length;
  return cells;
}

template <bool kModern>
void Interpreter<kModern>::ReadLine(const char* p, const char* end) {
  const char* run = p;
  while (p < end) {
    p = FindEscape(p, end);
    if (p == end) break;
    if (p + 1 < end && p[1] == '[') {
      if (p > run) WriteRun(run, p - run);
      p = run = ReadSequence(p + 2, end);
      continue;
    }
    if constexpr (kModern) {
      const Escape escape = ReadEscape(p, end);
      if (escape.after != p) {
        if (p > run) WriteRun(run, p - run);
        if (escape.command) EscapeCommand(escape.command);
        p = run = escape.after;
        continue;
      }
    }
    ++p;  // an ESC that starts no sequence is text
  }
  if (end > run) WriteRun(run, end - run);
  if constexpr (kModern) {
    // A line break right after the last column moves down once, not twice.
    if (PendingWrap()) {
      TakePendingWrap();
      return;
    }
  }
  column_ = 0;
  row_ = std::min(row_ + 1, kLastRow);
  EnsureRow(row_);
}

// Reads the sequence after ESC "[" and returns where the next text run starts:
// after the command letter, or right after ESC "[" when no letter comes before
// the next ESC "[" (the parameter bytes then show as text). The modern rules
// keep empty fields and colons, and end a sequence at any ESC.
template <bool kModern>
const char* Interpreter<kModern>::ReadSequence(const char* p, const char* end) {
  parameters_.Clear();
  std::int64_t number = 0;
  bool pending = false;
  bool field = false;  // modern: a separator was read, so a field follows even if it is empty
  bool sub = false;    // modern: that field follows a colon
  sawColon_ = false;   // classic: a colon was skipped
  for (const char* q = p; q < end; ++q) {
    const unsigned char byte = static_cast<unsigned char>(*q);
    if (TakeDigit(byte, number)) {
      pending = true;
      continue;
    }
    const bool letter = IsCommandLetter(byte);
    if constexpr (kModern) {
      const auto addField = [&] {
        parameters_.Add(pending ? static_cast<std::int32_t>(number) : Parameters::kEmpty);
        if (sub) parameters_.MarkLastSub();
      };
      if (byte == ';' || byte == ':') {
        addField();
        number = 0;
        pending = false;
        field = true;
        sub = byte == ':';
        continue;
      }
      if (letter) {
        if (pending || field) addField();
      } else if (byte == 0x1B) {
        break;
      }
    } else {
      if (byte == ';' || letter) {
        if (pending) parameters_.Add(static_cast<std::int32_t>(number));
        number = 0;
        pending = false;
      } else if (byte == 0x1B && q + 1 < end && q[1] == '[') {
        break;
      } else if (byte == ':') {
        sawColon_ = true;
      }
    }
    if (letter) {
      Execute(static_cast<char>(byte));
      if (!kModern && sawColon_ && byte == 'm') features_ |= ColonColourForms(std::string_view(p, q - p));
      EnsureRow(row_);
      return q + 1;
    }
  }
  return p;
}

template <bool kModern>
void Interpreter<kModern>::Execute(char command) {
  if constexpr (kModern) {
    // A colon belongs only to the colour groups of "m".
    if (parameters_.HasColon() && command != 'm') return;
  }
  switch (command) {
    case 'A':
      row_ = static_cast<std::int32_t>(std::max<std::int64_t>(row_ - Step(), 0));
      Moved();
      break;
    case 'B':
      row_ = ClampMove(row_ + Step());
      Moved();
      break;
    case 'C':
      column_ = ClampColumn(column_ + Step());
      Moved();
      break;
    case 'D':
      column_ = ClampColumn(column_ - Step());
      Moved();
      break;
    case 'H':
    case 'f':
      if constexpr (kModern) {
        // One-based, as terminals count.
        row_ = ClampMove(Counted(0) - 1);
        column_ = ClampColumn(Counted(1) - 1);
        Moved();
      } else if (parameters_.Count() >= 2) {
        row_ = ClampMove(parameters_[0]);
        column_ = ClampColumn(parameters_[1]);
      }
      break;
    case 'J':
      // The canvas becomes one empty row and then grows back to the cursor
      // row. Only rows that ever held cells need clearing, so a repeated
      // erase far down the canvas costs nothing per empty row.
      for (const std::int32_t index : usedRows_) {
        if (index < static_cast<std::int32_t>(rows_.size())) rows_[index] = CanvasRow();
      }
      usedRows_.clear();
      slots_.Recycle();
      values_.clear();
      fullRows_.Clear();
      rows_.resize(static_cast<std::size_t>(row_) + 1);
      break;
    case 'K':
      // Past the row's end the row is lengthened to the cursor, but never
      // beyond 80 cells: no row outgrows the canvas between writes.
      ResizeAny(row_, std::min(column_, kWidth));
      break;
    case 'm':
      SelectGraphicRendition();
      break;
    case 's':
      savedRow_ = row_;
      savedColumn_ = column_;
      Moved();
      break;
    case 'u':
      row_ = ClampMove(savedRow_);
      column_ = savedColumn_;
      Moved();
      break;
    case 't':
      ArtEditorColour();
      break;
    default:
      break;
  }
}

template <bool kModern>
void Interpreter<kModern>::SelectGraphicRendition() {
  if constexpr (kModern) {
    ModernRendition();
  } else {
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
      } else if (value == 38 || value == 48) {
        // Ignored here; noted for the modern rules.
        const std::int32_t kind = i + 1 < parameters_.Count() ? parameters_[i + 1] : 0;
        if (kind == 5) features_ |= kTable256Colours;
        if (kind == 2) features_ |= kTrueColours;
      } else if ((value >= 90 && value <= 97) || (value >= 100 && value <= 107)) {
        features_ |= kBrightColours;
      }
    }
  }
}

// The colour sequences of the modern rules. The parameters apply in order;
// a sequence with a colon outside a 38/48 group changes nothing, so one that
// holds colons is applied to a copy of the state first.
template <bool kModern>
void Interpreter<kModern>::ModernRendition() {
  if (parameters_.Count() == 0) {
    rendition_ = Rendition();  // ESC[m resets, as terminals do
  } else if (!parameters_.HasColon()) {
    ApplyParameters<false>(rendition_);
  } else {
    Rendition rendition = rendition_;
    if (parameters_.TooManyFields() || !ApplyParameters<true>(rendition)) return;
    rendition_ = rendition;
  }
  UpdateCellValue();
}

// Applies the parameters of "m" to `rendition`; false at a colon outside a
// 38/48 group, where the rest is left undone.
template <bool kModern>
template <bool kColons>
bool Interpreter<kModern>::ApplyParameters(Rendition& rendition) {
  const std::size_t count = parameters_.Count();
  for (std::size_t i = 0; i < count;) {
    const std::int32_t value = Value(i);
    if constexpr (kColons) {
      if (value != 38 && value != 48 && HasSubs(i)) return false;
    }
    if (ApplyRendition(rendition, value)) {
      ++i;
    } else {
      i = ExtendedColour(rendition, value == 38, i);
    }
  }
  return true;
}

// The 38 or 48 group at `index`: 38;5;n, 38;2;r;g;b, or the colon forms
// 38:5:n, 38:2:r:g:b, 38:2::r:g:b. A group cut short, out of range or mixing
// the two forms is ignored with its own fields. Returns the next parameter.
template <bool kModern>
std::size_t Interpreter<kModern>::ExtendedColour(Rendition& rendition, bool foreground, std::size_t index) {
  const std::size_t count = parameters_.Count();
  std::optional<CellColour> colour;
  std::size_t next = 0;
  const auto rgb = [&](std::size_t at) {
    const auto level = [&](std::size_t k) { return static_cast<unsigned>(std::min(Value(k), 255)); };
    features_ |= kTrueColours;
    return OwnColour(level(at), level(at + 1), level(at + 2));
  };
  if (HasSubs(index)) {
    next = NextParameter(index);
    const std::size_t subs = next - index - 1;
    const std::int32_t kind = Value(index + 1);
    if (kind == 5 && subs == 2 && Value(index + 2) <= 255) {
      features_ |= kTable256Colours;
      colour = ColourOfTable256(static_cast<unsigned>(Value(index + 2)));
    } else if (kind == 2 && (subs == 4 || subs == 5)) {
      colour = rgb(next - 3);  // a colour space id may stand before the three values
    }
  } else {
    const std::size_t kindAt = index + 1;
    if (kindAt >= count) return count;
    if (HasSubs(kindAt)) return NextParameter(kindAt);
    const std::int32_t kind = Value(kindAt);
    const std::size_t fields = kind == 5 ? 1 : (kind == 2 ? 3 : 0);
    if (fields == 0) return kindAt + 1;
    if (kindAt + fields >= count) return count;
    for (std::size_t k = kindAt + 1; k <= kindAt + fields; ++k) {
      if (HasSubs(k)) return NextParameter(k);
    }
    next = kindAt + fields + 1;
    if (kind == 5 && Value(kindAt + 1) <= 255) {
      features_ |= kTable256Colours;
      colour = ColourOfTable256(static_cast<unsigned>(Value(kindAt + 1)));
    } else if (kind == 2) {
      colour = rgb(kindAt + 1);
    }
  }
  if (colour) (foreground ? rendition.foreground : rendition.background) = *colour;
  return next;
}

// One parameter of "m" but 38 and 48, which read the parameters after them:
// for those it returns false.
template <bool kModern>
inline bool Interpreter<kModern>::ApplyRendition(Rendition& rendition, std::int32_t value) {
  CellColour& foreground = rendition.foreground;
  // The colours first: they are what art sets most.
  if (static_cast<std::uint32_t>(value - 30) < 8) {
    foreground = static_cast<CellColour>(value - 30) + (IsPaletteIndex(foreground) && foreground >= 8 ? 8 : 0);
    return true;
  }
  if (static_cast<std::uint32_t>(value - 40) < 8) {
    rendition.background = static_cast<CellColour>(value - 40);
    return true;
  }
  if (value >= 90) {
    if (value <= 97) {
      foreground = static_cast<CellColour>(value - 90 + 8);
      features_ |= kBrightColours;
    } else if (value >= 100 && value <= 107) {
      rendition.background = static_cast<CellColour>(value - 100 + 8);
      features_ |= kBrightColours;
    }
    return true;
  }
  const bool brightIndex = IsPaletteIndex(foreground) && foreground >= 8;
  switch (value) {
    case 0:
      rendition = Rendition();
      break;
    case 1:
      if (IsPaletteIndex(foreground) && foreground < 8) foreground += 8;
      break;
    case 5:
    case 6:
      rendition.modes |= Rendition::kBlink;
      break;
    case 7: {
      const CellColour oldForeground = foreground;
      foreground = rendition.background;
      rendition.background = brightIndex ? oldForeground - 8 : oldForeground;
      break;
    }
    case 8:
      rendition.modes |= Rendition::kConceal;
      break;
    case 22:
      if (brightIndex) foreground -= 8;
      break;
    case 25:
      rendition.modes &= ~Rendition::kBlink;
      break;
    case 28:
      rendition.modes &= ~Rendition::kConceal;
      break;
    case 39:
      foreground = 7;
      break;
    case 49:
      rendition.background = 0;
      break;
    case 38:
    case 48:
      return false;
    default:
      break;
  }
  return true;
}

// ESC[0;r;g;bt sets the background, ESC[1;r;g;bt the foreground: exactly
// four parameters, values above 255 clamped. The classic rules only note it.
template <bool kModern>
void Interpreter<kModern>::ArtEditorColour() {
  if (parameters_.Count() != 4 || (parameters_[0] != 0 && parameters_[0] != 1 && parameters_[0] != -1)) return;
  features_ |= kTrueColours;
  if constexpr (kModern) {
    const auto level = [&](std::size_t k) { return static_cast<unsigned>(std::min(Value(k), 255)); };
    (parameters_[0] == 1 ? rendition_.foreground : rendition_.background) = OwnColour(level(1), level(2), level(3));
    UpdateCellValue();
  }
}

// What a cell written now gets: the background brightened while blink is on
// under iCE colours, the background as foreground while concealed; one
// attribute byte when both are palette indices, else a pair.
template <bool kModern>
void Interpreter<kModern>::UpdateCellValueSlowly() {
  CellColour background = rendition_.background;
  if (ice_ && (rendition_.modes & Rendition::kBlink) && background < 8) {
    background += 8;
    features_ |= kIceColours;
  }
  const CellColour foreground = (rendition_.modes & Rendition::kConceal) ? background : rendition_.foreground;
  if (IsPaletteIndex(foreground) && IsPaletteIndex(background)) {
    attribute_ = static_cast<char>(foreground * 16 + background);
    value_ = static_cast<unsigned char>(attribute_);
  } else {
    attribute_ = kBlankAttribute;
    value_ = kFirstPairCell + pairIndex_.Find({foreground, background}, colours_.pairs());
    extended_ = true;
  }
}

template <bool kModern>
typename Interpreter<kModern>::Escape Interpreter<kModern>::ReadEscape(const char* p, const char* end) {
  if (end - p < 2) return {p, 0};
  const auto next = static_cast<unsigned char>(p[1]);
  if (next == ']') {
    // A string to the terminal (a link, a title): up to BEL, ESC "\", or the
    // end of the line.
    features_ |= kOscStrings;
    for (const char* q = p + 2; q < end; ++q) {
      if (*q == '\x07') return {q + 1, 0};
      if (*q == 0x1B && q + 1 < end && q[1] == '\\') return {q + 2, 0};
    }
    return {end, 0};
  }
  // A character set choice takes one byte more (none at the end of a line).
  if (std::string_view("()*+-./#%").find(static_cast<char>(next)) != std::string_view::npos) {
    return {std::min(p + 3, end), 0};
  }
  if (next >= 0x30 && next <= 0x7E) return {p + 2, static_cast<char>(next)};
  return {p, 0};
}

template <bool kModern>
void Interpreter<kModern>::EscapeCommand(char command) {
  switch (command) {
    case '7':
      savedRow_ = row_;
      savedColumn_ = column_;
      break;
    case '8':
      row_ = ClampMove(savedRow_);
      column_ = savedColumn_;
      break;
    case 'D':
      row_ = ClampMove(std::int64_t{row_} + 1);
      break;
    case 'E':
      row_ = ClampMove(std::int64_t{row_} + 1);
      column_ = 0;
      break;
    case 'M':
      row_ = std::max(row_ - 1, 0);
      break;
    default:
      return;  // no effect, and the cursor has not moved
  }
  Moved();
  EnsureRow(row_);
}

template <bool kModern>
void Interpreter<kModern>::WriteRun(const char* bytes, std::int64_t count) {
  if constexpr (kModern) {
    if (runFlags_ != 0) [[unlikely]] {
      if (decoding_) {
        // The decoded run is never longer than its bytes.
        decoded_.resize(static_cast<std::size_t>(count));
        count =
            static_cast<std::int64_t>(DecodeUtf8(bytes, static_cast<std::size_t>(count), decoded_.data(), *decoding_));
        bytes = decoded_.data();
      }
      if (PendingWrap()) TakePendingWrap();
    }
    if (extended_) [[unlikely]] {
      Write<true>(bytes, count);
      return;
    }
  }
  Write<false>(bytes, count);
}

template <bool kModern>
template <bool kValues>
void Interpreter<kModern>::Write(const char* bytes, std::int64_t count) {
  const std::int64_t start = column_;
  const std::int64_t end = start + count;
  const std::int32_t oldLength = rows_[row_].length;
  if (end < kWidth && oldLength < kWidth) {
    // The common case: the run stays inside a row that is not full.
    const RowCells cells = ForWrite<kValues>(Cells<kValues>(row_), row_);
    if (start > oldLength) FillBlanks<kValues>(cells, oldLength, start - oldLength);
    CopyBytes(cells.text + start, bytes, count);
    FillColours<kValues>(cells, start, count);
    rows_[row_].length = std::max(oldLength, static_cast<std::int32_t>(end));
    column_ = static_cast<std::int32_t>(end);
    return;
  }
  // The row ends up full; whatever lies beyond 80 cells overflows.
  const RowCells cells = ForWrite<kValues>(Resize<kValues>(row_, kWidth), row_);
  if (start < kWidth) {
    const auto inRow = static_cast<std::int32_t>(std::min<std::int64_t>(count, kWidth - start));
    CopyBytes(cells.text + start, bytes, inRow);
    FillColours<kValues>(cells, start, inRow);
  }
  Overflow overflow;
  overflow.attribute = Attribute();
  overflow.value = value_;
  if (end > kWidth) {
    overflow.blanks = std::max<std::int64_t>(start - kWidth, 0);
    const std::int64_t runStart = std::max<std::int64_t>(start, kWidth);
    overflow.run = bytes + (runStart - start);
    overflow.runLength = end - runStart;
  }
  // Under the modern rules a run whose last character lands in the last
  // column leaves the cursor there, one past it, until the next character.
  Wrap<kValues>(overflow, kModern && end % kWidth == 0);
}

// Hands the overflow of a full row down to the rows below: a chunk of 80 cells
// replaces a row's cells outright, a shorter final chunk overwrites the start
// of the row and leaves the cursor after it. A row that ends up full passes the
// cursor on to the next row that is not full, unless `deferLast` keeps it
// waiting after the last column. Below the last allowed row there is nowhere
// to go, so the overflow wraps onto that row itself.
template <bool kModern>
template <bool kValues>
void Interpreter<kModern>::Wrap(const Overflow& overflow, bool deferLast) {
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
      if constexpr (kModern) {
        if (deferLast) {
          column_ = kWidth;
          runFlags_ |= kPendingWrap;
          return;
        }
      }
      row_ = std::min(fullRows_.NextNotFull(row_ + 1), kLastRow);
    } else {
      ++row_;
    }
    EnsureRow(row_);
    if (rest >= kWidth) {
      overflow.CopyTo<kValues>(from, kWidth, ForWrite<kValues>(Resize<kValues>(row_, kWidth), row_));
      from += kWidth;
      continue;
    }
    const auto chunk = static_cast<std::int32_t>(rest);
    column_ = chunk;
    if (chunk > 0) {
      overflow.CopyTo<kValues>(from, chunk,
                               ForWrite<kValues>(Resize<kValues>(row_, std::max(rows_[row_].length, chunk)), row_));
      from += chunk;
    }
    if (rows_[row_].length < kWidth || row_ >= kLastRow) return;
  }
}

template <bool kModern>
void Interpreter<kModern>::Finish(TextDocument& document) {
  // A row holding the end-of-file mark and the SAUCE signature ends the art.
  static constexpr char kSauce[] = "\x1ASAUCE";
  constexpr std::int32_t kSauceLength = sizeof(kSauce) - 1;
  std::size_t kept = rows_.size();
  for (std::size_t i = 0; i < rows_.size() && kept == rows_.size(); ++i) {
    const CanvasRow& row = rows_[i];
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
  if constexpr (kModern) {
    // Decoded arrows stood in as NUL while the mark was looked for.
    if (decoding_ && decoding_->arrow == '\0') std::replace(text.begin(), text.end(), '\0', '\x1A');
  }
  // The source lines may point into the old text: replace it only now.
  document.text = std::move(text);
  std::vector<TextLine> lines;
  lines.reserve(kept);
  const char* start = document.text.data();
  for (std::size_t i = 0; i < kept; ++i) {
    CanvasRow& row = rows_[i];
    TextLine& line = lines.emplace_back(start, row.length);
    if constexpr (kModern) {
      const std::uint32_t* values = row.length > 0 ? Values(row.slot) : nullptr;
      if (values && std::any_of(values, values + row.length, [](std::uint32_t v) { return v >= kFirstPairCell; })) {
        colours_.SetLineCells(static_cast<std::int32_t>(i), static_cast<std::int32_t>(kept), values, row.length);
      }
    }
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
  document.features |= features_;
  if constexpr (kModern) document.colours = std::move(colours_);
}

}  // namespace

void InterpretAnsi(const std::vector<TextLine>& sourceLines, TextDocument& document) {
  Interpreter<false> interpreter(sourceLines.size() + 1);
  for (const TextLine& line : sourceLines) interpreter.ReadLine(line.start, line.start + line.length);
  interpreter.Finish(document);
}

void InterpretModernAnsi(const std::vector<TextLine>& sourceLines, TextDocument& document,
                         const ModernAnsiOptions& options) {
  Interpreter<true> interpreter(sourceLines.size() + 1);
  interpreter.SetModernOptions(options);
  for (const TextLine& line : sourceLines) interpreter.ReadLine(line.start, line.start + line.length);
  interpreter.Finish(document);
}

}  // namespace mosaikon
