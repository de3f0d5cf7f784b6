// The search runs over the document's whole buffer at once: the lines are
// windows onto one text with only line breaks between them, and a needle
// without line breaks can only match inside a line. A fast filter passes the
// places whose first and last bytes fit; only those are compared in full,
// placed in their line, and checked for pairs and word edges.
#include "view/text_search.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaikon {

namespace {

// The needle, ready for comparing: which of its bytes fold case, and the
// forms its first and last bytes may take in the text.
struct Needle {
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
  const ByteLetters& letters;
  std::vector<bool> folds;  // empty when the case must match
  std::array<bool, 256> firstFits{};
  std::array<bool, 256> lastFits{};
  // Both edges have at most two forms, held here: the case of nearly every
  // needle, which the fast filter takes.
  bool twoForms = true;
  unsigned char first[2] = {};
  unsigned char last[2] = {};

  Needle(const std::string& needle, bool matchCase, bool pairs, const ByteLetters& table)
      : bytes(reinterpret_cast<const unsigned char*>(needle.data())), size(needle.size()), letters(table) {
    if (!matchCase) {
      // Bytes that share their upper case with another byte fold. The second
      // byte of a pair is part of a character, not a letter.
      std::array<int, 256> sharing{};
      for (int byte = 0; byte < 256; ++byte) ++sharing[letters.Upper(static_cast<unsigned char>(byte))];
      folds.assign(size, false);
      for (std::size_t i = 0; i < size; ++i) {
        if (pairs && bytes[i] >= 0x80) {
          ++i;
        } else {
          folds[i] = sharing[letters.Upper(bytes[i])] > 1;
        }
      }
    }
    Forms(0, firstFits, first);
    Forms(size - 1, lastFits, last);
  }

  bool Folds(std::size_t i) const { return !folds.empty() && folds[i]; }

  // Marks the text bytes that match needle byte i; keeps the first two.
  void Forms(std::size_t i, std::array<bool, 256>& fits, unsigned char (&two)[2]) {
    two[0] = two[1] = bytes[i];
    int count = 0;
    for (int byte = 0; byte < 256; ++byte) {
      const auto form = static_cast<unsigned char>(byte);
      if (form != bytes[i] && !(Folds(i) && letters.Upper(form) == letters.Upper(bytes[i]))) continue;
      fits[form] = true;
      if (count < 2) two[count] = form;
      ++count;
    }
    if (count > 2) twoForms = false;
  }

  bool Matches(const unsigned char* text) const {
    if (folds.empty()) {
      // Most needles are a few bytes, for which a loop costs less than the
      // library's call; it matters where nearly every place fits the edges.
      if (size > 16) return std::memcmp(text, bytes, size) == 0;
      for (std::size_t i = 0; i < size; ++i) {
        if (text[i] != bytes[i]) return false;
      }
      return true;
    }
    for (std::size_t i = 0; i < size; ++i) {
      if (text[i] != bytes[i] && !(folds[i] && letters.Upper(text[i]) == letters.Upper(bytes[i]))) return false;
    }
    return true;
  }

  bool EdgesFit(const unsigned char* text) const { return firstFits[text[0]] && lastFits[text[size - 1]]; }
};

#if defined(__SSE2__)
// Sixteen places at a time: a bit for each place whose first byte and last
// byte (needle's length - 1 further on) fit.
class EdgeFilter {
 public:
  explicit EdgeFilter(const Needle& needle)
      : last_(needle.size - 1),
        first0_(_mm_set1_epi8(static_cast<char>(needle.first[0]))),
        first1_(_mm_set1_epi8(static_cast<char>(needle.first[1]))),
        last0_(_mm_set1_epi8(static_cast<char>(needle.last[0]))),
        last1_(_mm_set1_epi8(static_cast<char>(needle.last[1]))) {}

  unsigned Fits(const unsigned char* places) const {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(places));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(places + last_));
    const __m128i fits = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(head, first0_), _mm_cmpeq_epi8(head, first1_)),
                                       _mm_or_si128(_mm_cmpeq_epi8(tail, last0_), _mm_cmpeq_epi8(tail, last1_)));
    return static_cast<unsigned>(_mm_movemask_epi8(fits));
  }

 private:
  std::size_t last_;
  __m128i first0_, first1_, last0_, last1_;
};
#endif

// Calls `visit` with every place from `lo` to `hi` (both included) whose
// first and last bytes fit the needle, in increasing order, until it returns
// true. The bytes up to hi + size - 1 must be readable.
template <typename Visit>
bool ScanForward(const unsigned char* lo, const unsigned char* hi, const Needle& needle, Visit visit) {
  const unsigned char* p = lo;
#if defined(__SSE2__)
  if (needle.twoForms) {
    const EdgeFilter filter(needle);
    for (; hi - p >= 15; p += 16) {
      for (unsigned mask = filter.Fits(p); mask != 0; mask &= mask - 1) {
        if (visit(p + __builtin_ctz(mask))) return true;
      }
    }
  }
#else
  if (needle.twoForms && needle.first[0] == needle.first[1]) {
    // memchr is the library's fastest loop; it finds the first byte.
    while (p <= hi) {
      const void* hit = std::memchr(p, needle.first[0], static_cast<std::size_t>(hi - p) + 1);
      if (!hit) return false;
      p = static_cast<const unsigned char*>(hit);
      if (needle.EdgesFit(p) && visit(p)) return true;
      ++p;
    }
    return false;
  }
#endif
  for (; p <= hi; ++p) {
    if (needle.EdgesFit(p) && visit(p)) return true;
  }
  return false;
}

// The same from `hi` down to `lo`, in decreasing order.
template <typename Visit>
bool ScanBackward(const unsigned char* lo, const unsigned char* hi, const Needle& needle, Visit visit) {
  // Counted as an index from `lo`, so that no pointer goes before the buffer.
  std::ptrdiff_t i = hi - lo;
#if defined(__SSE2__)
  if (needle.twoForms) {
    const EdgeFilter filter(needle);
    for (; i >= 15; i -= 16) {
      const unsigned char* block = lo + i - 15;
      for (unsigned mask = filter.Fits(block); mask != 0;) {
        const int bit = 31 - __builtin_clz(mask);
        if (visit(block + bit)) return true;
        mask &= ~(1u << bit);
      }
    }
  }
#endif
  for (; i >= 0; --i) {
    if (needle.EdgesFit(lo + i) && visit(lo + i)) return true;
  }
  return false;
}

// Tells whether an offset of a line lies between two characters when a byte
// of 0x80 or above pairs with the byte after it. An offset right after a byte
// below 0x80 always does (that byte is a character or ends a pair); otherwise
// it depends on where the run of high bytes before it starts. The run found
// last is remembered, so the candidates of one long line of pairs cost about
// one pass over it in either direction.
class PairBoundaries {
 public:
  bool IsBoundary(const TextLine& line, std::int32_t lineIndex, std::int32_t offset) {
    if (offset <= 0 || offset >= line.length) return true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.start);
    if (bytes[offset - 1] < 0x80) return true;
    if (lineIndex != line_) {
      line_ = lineIndex;
      runStart_ = runEnd_ = 0;
    }
    std::int32_t start = offset - 1;
    if (start >= runStart_ && start < runEnd_) {
      start = runStart_;
    } else {
      while (start > 0 && bytes[start - 1] >= 0x80) {
        if (start - 1 >= runStart_ && start - 1 < runEnd_) {
          start = runStart_;
          break;
        }
        --start;
      }
    }
    runEnd_ = start == runStart_ ? std::max(runEnd_, offset) : offset;
    runStart_ = start;
    return (offset - start) % 2 == 0;
  }

 private:
  // Every byte in [runStart_, runEnd_) of line line_ is 0x80 or above, and
  // the byte before runStart_ (if any) is below.
  std::int32_t line_ = -1;
  std::int32_t runStart_ = 0;
  std::int32_t runEnd_ = 0;
};

// Tells whether a match ending at an offset of a line ends by the last
// column the view shows. Only a line of more bytes than that column divided
// by the widest tab can reach beyond it; such a line is walked once, for the
// first byte that does, and remembered.
class ShownColumns {
 public:
  bool Shows(const TextLine& line, std::int32_t lineIndex, std::int32_t end, const ColumnRules& rules) {
    if (line.length <= kMaxColumn / kMaxTabSize) return true;
    if (lineIndex != line_) {
      line_ = lineIndex;
      cutoff_ = Cutoff(line, rules);
    }
    return end <= cutoff_;
  }

 private:
  static constexpr std::int64_t kMaxColumn = std::numeric_limits<std::int32_t>::max();

  // The first byte of `line` that ends beyond kMaxColumn, or its length.
  static std::int32_t Cutoff(const TextLine& line, const ColumnRules& rules) {
    ColumnWalk walk(line.Text(), rules);
    CellSpan span;
    while (walk.Next(span)) {
      if (span.End() > kMaxColumn) return span.index;
    }
    return line.length;
  }

  std::int32_t line_ = -1;
  std::int32_t cutoff_ = 0;  // Cutoff(line_)
};

// Bytes of 0x80 and above as neither letters nor folding: for ANSI art and
// double-byte text.
const ByteLetters& AsciiLetters() {
  static const ByteLetters table;
  return table;
}

class Searcher {
 public:
  Searcher(const TextDocument& document, const SearchQuery& query, const ColumnRules& rules, const ByteLetters& letters)
      : lines_(document.lines),
        query_(query),
        rules_(rules),
        pairs_(rules.decodeMode > 0),
        letters_(document.ansi || pairs_ ? AsciiLetters() : letters),
        needle_(query.needle, query.matchCase, pairs_, letters_),
        begin_(reinterpret_cast<const unsigned char*>(lines_.front().start)) {}

  // Tries the places in [lo, hi] (offsets from the document's first byte)
  // in the given direction; fills `result` and returns true at the first
  // match that passes every rule.
  bool Search(std::int64_t lo, std::int64_t hi, bool down, SearchResult& result) {
    const auto accept = [&](const unsigned char* place) { return Accept(place, result); };
    while (lo <= hi) {
      const bool found = down ? ScanForward(begin_ + lo, begin_ + hi, needle_, accept)
                              : ScanBackward(begin_ + lo, begin_ + hi, needle_, accept);
      if (!found) return false;
      // A match the view cannot show could not be selected either: the
      // search goes on past it. Asked only here, out of the inner loop.
      const TextLine& line = lines_[static_cast<std::size_t>(result.begin.line)];
      if (shown_.Shows(line, result.begin.line, result.end.offset, rules_)) return true;
      const std::int64_t place = (line.start - lines_.front().start) + result.begin.offset;
      if (down) {
        lo = place + 1;
      } else {
        hi = place - 1;
      }
      result.found = false;
    }
    return false;
  }

 private:
  bool Accept(const unsigned char* place, SearchResult& result) {
    if (!needle_.Matches(place)) return false;
    const auto* text = reinterpret_cast<const char*>(place);
    const std::int32_t index = LineOf(text);
    const TextLine& line = lines_[static_cast<std::size_t>(index)];
    const auto offset = static_cast<std::int32_t>(text - line.start);
    const auto end = static_cast<std::int32_t>(offset + needle_.size);
    if (offset < 0 || end > line.length) return false;
    if (pairs_ && !(boundaries_.IsBoundary(line, index, offset) && boundaries_.IsBoundary(line, index, end))) {
      return false;
    }
    if (query_.wholeWord && (WordBefore(line, index, offset) || WordAt(line, end))) return false;
    result.found = true;
    result.begin = {index, offset};
    result.end = {index, end};
    return true;
  }

  // The line whose bytes start at or before `text`; the line found last is
  // tried first, since matches come in order.
  std::int32_t LineOf(const char* text) {
    const TextLine& cached = lines_[static_cast<std::size_t>(lineHint_)];
    if (text >= cached.start && text <= cached.start + cached.length) return lineHint_;
    const auto next = std::upper_bound(lines_.begin(), lines_.end(), text,
                                       [](const char* p, const TextLine& line) { return p < line.start; });
    lineHint_ = static_cast<std::int32_t>(next - lines_.begin()) - 1;
    return lineHint_;
  }

  bool WordAt(const TextLine& line, std::int32_t offset) const {
    return offset < line.length && letters_.IsWord(static_cast<unsigned char>(line.start[offset]));
  }

  // The character before `offset`: a word byte, and not the second half of
  // a pair (a Big5 character may end in a letter's byte).
  bool WordBefore(const TextLine& line, std::int32_t index, std::int32_t offset) {
    if (offset == 0 || !WordAt(line, offset - 1)) return false;
    return !pairs_ || boundaries_.IsBoundary(line, index, offset - 1);
  }

  const std::vector<TextLine>& lines_;
  const SearchQuery& query_;
  const ColumnRules rules_;
  const bool pairs_;
  const ByteLetters& letters_;
  const Needle needle_;
  const unsigned char* const begin_;
  PairBoundaries boundaries_;
  ShownColumns shown_;
  std::int32_t lineHint_ = 0;
};

}  // namespace

ByteLetters::ByteLetters() {
  for (int byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    word_[b] = IsWordByte(b);
    upper_[b] = b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 0x20) : b;
  }
}

void ByteLetters::SetHighByte(unsigned char byte, bool letter, unsigned char upper) {
  if (byte < 0x80) return;
  word_[byte] = letter;
  upper_[byte] = upper >= 0x80 ? upper : byte;
}

std::int64_t ColumnAtOffset(const TextLine& line, std::int32_t offset, const ColumnRules& rules) {
  ColumnWalk walk(line.Text(), rules);
  CellSpan span;
  std::int64_t column = 0;
  while (walk.Next(span)) {
    if (span.index >= offset) return span.column;
    column = span.End();
  }
  return column;
}

std::int32_t OffsetAtColumn(const TextLine& line, std::int64_t column, const ColumnRules& rules) {
  ColumnWalk walk(line.Text(), rules);
  CellSpan span;
  while (walk.Next(span)) {
    if (span.column >= column) return span.index;
  }
  return line.length;
}

SearchResult SearchDocument(const TextDocument& document, const SearchQuery& query, TextPosition from,
                            const ColumnRules& rules, const ByteLetters& letters) {
  SearchResult result;
  const std::string& needle = query.needle;
  if (needle.empty() || needle.find_first_of("\r\n") != std::string::npos || document.lines.empty()) return result;

  const TextLine& first = document.lines.front();
  const TextLine& last = document.lines.back();
  const std::int64_t size = (last.start + last.length) - first.start;
  const auto length = static_cast<std::int64_t>(needle.size());
  if (length > size) return result;

  std::int64_t start = size;  // `from` as an offset from the first byte
  if (from.line < 0) {
    start = 0;
  } else if (from.line < document.LineCount()) {
    const TextLine& line = document.lines[static_cast<std::size_t>(from.line)];
    start = (line.start - first.start) + std::clamp(from.offset, 0, line.length);
  }

  // Places where a match may start: after `start` going down, so that it
  // ends by `start` going up; then, once, the rest of the document.
  const std::int64_t lastPlace = size - length;
  Searcher searcher(document, query, rules, letters);
  if (query.down) {
    if (!searcher.Search(start, lastPlace, true, result)) {
      result.wrapped = searcher.Search(0, std::min(start - 1, lastPlace), true, result);
    }
  } else {
    if (!searcher.Search(0, start - length, false, result)) {
      result.wrapped = searcher.Search(std::max<std::int64_t>(start - length + 1, 0), lastPlace, false, result);
    }
  }
  if (!result.found) return result;

  const TextLine& line = document.lines[static_cast<std::size_t>(result.begin.line)];
  result.startCell = {SaturateToInt(ColumnAtOffset(line, result.begin.offset, rules)), result.begin.line};
  result.endCell = {SaturateToInt(ColumnAtOffset(line, result.end.offset, rules)), result.end.line};
  return result;
}

}  // namespace mosaikon
