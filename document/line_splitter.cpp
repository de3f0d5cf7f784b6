// Cuts a text buffer into line records at CR/LF breaks and measures tab-expanded
// widths. One search per line finds the next break byte of either kind; whether
// a kind still lies ahead is known from its last position in the text, so a
// file is scanned about once, not once per line and kind.
#include "document/line_splitter.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/byte_search.h"
#include "common/system.h"
#include "document/break_counter.h"

namespace mosaikon {

namespace {

constexpr std::int64_t kMaxColumn = std::numeric_limits<std::int32_t>::max();

// The last `byte` in [text, end), or null.
const char* FindLast(const char* text, const char* end, char byte) {
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(byte);
  while (end - text >= 16) {
    end -= 16;
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(end)), wanted));
    if (hits != 0) return end + (31 - __builtin_clz(static_cast<unsigned>(hits)));
  }
#endif
  while (end != text) {
    if (*--end == byte) return end;
  }
  return nullptr;
}

// The first CR or LF in [from, end), or null.
const char* FindBreak(const char* from, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return from + __builtin_ctz(static_cast<unsigned>(hits));
  }
#endif
  for (; from < end; ++from) {
    if (*from == '\r' || *from == '\n') return from;
  }
  return nullptr;
}

// Columns of [from, end) when `from` sits at `column`; appends the expanded
// text to `expanded` when given. Saturates at the largest 32-bit column, so a
// hostile line of many tabs cannot overflow.
std::int32_t Expand(const char* from, const char* end, std::int64_t column, std::string* expanded,
                    std::int32_t tabSize) {
  while (from < end && column < kMaxColumn) {
    const char* tab = FindByte(from, end, '\t');
    const char* runEnd = tab ? tab : end;
    const std::int64_t run = std::min<std::int64_t>(runEnd - from, kMaxColumn - column);
    if (expanded) expanded->append(from, static_cast<std::size_t>(run));
    column += run;
    if (!tab || column >= kMaxColumn) break;
    const std::int64_t blanks = std::min<std::int64_t>(tabSize - column % tabSize, kMaxColumn - column);
    if (expanded) expanded->append(static_cast<std::size_t>(blanks), ' ');
    column += blanks;
    from = tab + 1;
  }
  return static_cast<std::int32_t>(column);
}

// Reserving from the count keeps the line array at its final size instead of
// doubling (and briefly holding two copies). max(CRs, LFs) + 1 is exact for
// LF, CR and CR LF files; in mixtures runs of breaks merge, so there may be
// fewer lines. A count too large to reserve, as a hostile run of merged
// breaks could produce, falls back to growth.
void ReserveLines(std::vector<TextLine>& lines, std::size_t count) {
  const std::size_t wanted = lines.size() + count;
  if (wanted > lines.max_size()) return;
  try {
    const std::size_t before = lines.capacity();
    lines.reserve(wanted);
    if (lines.capacity() != before) {
      AdviseLargePages(lines.data() + lines.size(), (lines.capacity() - lines.size()) * sizeof(TextLine));
    }
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
}

}  // namespace

std::int32_t ExpandTabs(const char* bytes, std::int32_t count, std::string* expanded, std::int32_t tabSize) {
  if (expanded) expanded->clear();
  if (count < 1) return 0;
  return Expand(bytes, bytes + count, 0, expanded, EffectiveTabSize(tabSize));
}

BreakCounts CountBreaks(const char* text, std::size_t length) {
  BreakCounter counter;
  const char* const end = text + length;
#if defined(__SSE2__)
  for (; end - text >= 16; text += 16) counter.AddBlock(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text)));
#endif
  for (; text < end; ++text) counter.AddByte(*text);
  return counter.Total();
}

void SplitLines(const char* text, std::int32_t length, std::int32_t tabSize, std::vector<TextLine>& lines,
                std::int32_t& width) {
  if (length < 1) return;
  SplitLines(text, length, tabSize, lines, width, CountBreaks(text, static_cast<std::size_t>(length)));
}

void SplitLines(const char* text, std::int32_t length, std::int32_t tabSize, std::vector<TextLine>& lines,
                std::int32_t& width, const BreakCounts& counts) {
  if (length < 1) return;
  tabSize = EffectiveTabSize(tabSize);
  const char* const end = text + length;
  ReserveLines(lines, std::max(counts.cr, counts.lf) + 1);

  // A kind of break byte lies ahead of a line while the line starts at or
  // before its last occurrence.
  const char* const lastCr = counts.cr ? FindLast(text, end, '\r') : nullptr;
  const char* const lastLf = counts.lf ? FindLast(text, end, '\n') : nullptr;
  // The next tab at or after the current line's start; null once none is left.
  const char* tab = FindByte(text, end, '\t');

  const char* start = text;
  for (;;) {
    const bool crAhead = lastCr && lastCr >= start;
    const bool lfAhead = lastLf && lastLf >= start;
    const char* lineEnd = end;
    const char* next = nullptr;  // start of the following line; null for the last line
    if (crAhead || lfAhead) {
      lineEnd = crAhead && lfAhead ? FindBreak(start, end) : FindByte(start, end, crAhead ? '\r' : '\n');
      next = lineEnd + 1;
      if (crAhead && lfAhead) {
        // While both kinds lie ahead, a run of the first kind and then a run
        // of the other form one break: CR CR LF, CR LF LF and LF LF are one.
        const char first = *lineEnd;
        const char other = first == '\r' ? '\n' : '\r';
        while (next < end && *next == first) ++next;
        while (next < end && *next == other) ++next;
      }
    }

    if (tab && tab < start) tab = FindByte(start, end, '\t');
    const std::int32_t lineLength = static_cast<std::int32_t>(lineEnd - start);
    const std::int32_t columns =
        tab && tab < lineEnd ? Expand(tab, lineEnd, tab - start, nullptr, tabSize) : lineLength;
    width = std::max(width, columns);
    lines.emplace_back(start, lineLength);

    if (!next) break;
    start = next;
  }
}

}  // namespace mosaikon
