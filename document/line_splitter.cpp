// Cuts a text buffer into line records at CR/LF breaks and measures tab-expanded
// widths. The searches use memchr and remember what they found, so a file is
// scanned about once per kind of byte (CR, LF, tab), not once per line.
#include "document/line_splitter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace mosaikon {

namespace {

constexpr std::int64_t kMaxColumn = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kFallbackTabSize = 8;

const char* Find(const char* from, const char* end, char byte) {
  return static_cast<const char*>(std::memchr(from, byte, static_cast<std::size_t>(end - from)));
}

// Columns of [from, end) when `from` sits at `column`; appends the expanded
// text to `expanded` when given. Saturates at the largest 32-bit column, so a
// hostile line of many tabs cannot overflow.
std::int32_t Expand(const char* from, const char* end, std::int64_t column, std::string* expanded,
                    std::int32_t tabSize) {
  while (from < end && column < kMaxColumn) {
    const char* tab = Find(from, end, '\t');
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

// An upper bound of the number of lines: exact for LF, CR and CR LF files; in
// mixtures runs of breaks merge, so there may be fewer.
std::size_t EstimateLineCount(const char* text, const char* end) {
  std::size_t lf = 0;
  std::size_t cr = 0;
  for (const char* p = text; (p = Find(p, end, '\n')) != nullptr; ++p) ++lf;
  for (const char* p = text; (p = Find(p, end, '\r')) != nullptr; ++p) ++cr;
  return std::max(lf, cr) + 1;
}

// Reserving from the count keeps the line array at its final size instead of
// doubling (and briefly holding two copies). An estimate too large to reserve,
// as a hostile run of merged breaks could produce, falls back to growth.
void ReserveLines(std::vector<TextLine>& lines, const char* text, const char* end) {
  const std::size_t wanted = lines.size() + EstimateLineCount(text, end);
  if (wanted > lines.max_size()) return;
  try {
    lines.reserve(wanted);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
}

}  // namespace

std::int32_t ExpandTabs(const char* bytes, std::int32_t count, std::string* expanded, std::int32_t tabSize) {
  if (expanded) expanded->clear();
  if (count < 1) return 0;
  if (tabSize < 1) tabSize = kFallbackTabSize;
  return Expand(bytes, bytes + count, 0, expanded, tabSize);
}

void SplitLines(const char* text, std::int32_t length, std::int32_t tabSize, std::vector<TextLine>& lines,
                std::int32_t& width) {
  if (length < 1) return;
  if (tabSize < 1) tabSize = kFallbackTabSize;
  const char* const end = text + length;
  ReserveLines(lines, text, end);

  // The next CR, LF and tab at or after the current line's start; null once a
  // search found none, and then that byte is never searched for again.
  const char* cr = Find(text, end, '\r');
  const char* lf = Find(text, end, '\n');
  const char* tab = Find(text, end, '\t');

  const char* start = text;
  for (;;) {
    if (cr && cr < start) cr = Find(start, end, '\r');
    if (lf && lf < start) lf = Find(start, end, '\n');

    const char* lineEnd = end;
    const char* next = nullptr;  // start of the following line; null for the last line
    if (cr && lf) {
      // While both kinds lie ahead, a run of the first kind and then a run of
      // the other form one break: CR CR LF, CR LF LF and LF LF are one break.
      lineEnd = std::min(cr, lf);
      const char first = *lineEnd;
      const char other = first == '\r' ? '\n' : '\r';
      next = lineEnd;
      while (next < end && *next == first) ++next;
      while (next < end && *next == other) ++next;
    } else if (cr || lf) {
      lineEnd = cr ? cr : lf;
      next = lineEnd + 1;
    }

    if (tab && tab < start) tab = Find(start, end, '\t');
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
