// Finds "http://" links in the lines of a plain document and marks their bytes
// in the lines' link masks. A link runs from the "h" to the first white-space
// byte or byte of 0x80 and above, and never crosses a line.
#include "document/link_detector.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "common/byte_search.h"
#include "common/string_util.h"
#include "common/system.h"

namespace mosaikon {

namespace {

constexpr std::string_view kScheme = "http://";

// Case folding for the comparison. Only ASCII letters fold: the pattern in use
// is ASCII, and no byte of 0x80 and above folds to an ASCII letter in the ANSI
// code pages, so the links found are the same.
constexpr unsigned char FoldCase(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}
constexpr unsigned char UpperCase(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

bool MatchesAt(std::string_view text, std::size_t at, std::string_view pattern) {
  if (text.size() - at < pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const auto t = static_cast<unsigned char>(text[at + i]);
    const auto p = static_cast<unsigned char>(pattern[i]);
    if (t != p && FoldCase(t) != FoldCase(p)) return false;
  }
  return true;
}

bool EndsLink(unsigned char c) {
  return c >= 0x80 || IsWhiteSpace(c);
}

// Marks the link that starts at `from`; returns the index of the byte that
// ended it (or the line's length).
std::int32_t MarkLink(TextLine& line, std::int32_t from) {
  if (line.linkMask.empty()) line.linkMask.Assign(line.length, '0');
  char* mask = line.linkMask.data();
  std::int32_t i = from;
  while (i < line.length && !EndsLink(static_cast<unsigned char>(line.start[i]))) mask[i++] = '1';
  return i;
}

bool CodePageHasLeadBytes() {
  for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
    if (IsLeadByte(static_cast<unsigned char>(byte))) return true;
  }
  return false;
}

// Double-byte code pages: step character by character so that an "h" that is
// the trail byte of a double-byte character is never taken for a link.
void DetectLinksStepping(TextLine& line) {
  const std::string_view text = line.Text();
  std::size_t position = 0;
  while (position < text.size()) {
    const auto hit = FindNoCase(text.substr(position), kScheme);
    if (!hit) break;
    position = static_cast<std::size_t>(MarkLink(line, static_cast<std::int32_t>(position + *hit)));
  }
}

bool IsHttpAt(const char* h) {
  return (h[0] | 0x20) == 'h' && (h[1] | 0x20) == 't' && (h[2] | 0x20) == 't' && (h[3] | 0x20) == 'p';
}

// The line holding `position`: the last line from `from` on that starts at or
// before it (the caller guarantees lines[from] does). Links come in text
// order, so the search gallops forward from the previous answer.
std::size_t LineAt(const std::vector<TextLine>& lines, std::size_t from, const char* position) {
  std::size_t low = from;
  std::size_t high = from + 1;
  for (std::size_t step = 1; high < lines.size() && lines[high].start <= position; step *= 2) {
    low = high;
    high = low + step;
  }
  high = std::min(high, lines.size());
  while (high - low > 1) {
    const std::size_t middle = low + (high - low) / 2;
    (lines[middle].start <= position ? low : high) = middle;
  }
  return low;
}

// Single-byte code pages: every byte is a character, so a link is found from
// its ':' with one byte search through the whole text, checking "http"
// before and "//" after; only a hit looks up its line. "http://" holds no
// line break, so it always lies inside one line.
void DetectLinksByColon(TextDocument& document) {
  std::vector<TextLine>& lines = document.lines;
  if (lines.empty()) return;
  const char* const textEnd = document.text.data() + document.text.size();
  std::size_t line = 0;
  const char* from = document.text.data();  // the search goes on here
  while (textEnd - from >= static_cast<std::ptrdiff_t>(kScheme.size())) {
    const char* const colon = FindByte(from, textEnd, ':');
    if (!colon) break;
    const char* const h = colon - 4;
    const bool scheme = colon - from >= 4 && textEnd - colon >= 3 && colon[1] == '/' && colon[2] == '/' && IsHttpAt(h);
    from = colon + 1;
    if (!scheme || h < lines[line].start) continue;
    line = LineAt(lines, line, h);
    TextLine& holder = lines[line];
    if (colon + 3 > holder.start + holder.length) continue;  // lines not made from this text
    from = holder.start + MarkLink(holder, static_cast<std::int32_t>(h - holder.start));
  }
}

}  // namespace

std::optional<std::size_t> FindNoCase(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return std::nullopt;
  const unsigned char lower = FoldCase(static_cast<unsigned char>(pattern.front()));
  const unsigned char upper = UpperCase(lower);
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c == lower || c == upper) && MatchesAt(text, i, pattern)) return i;
    i += IsLeadByte(c) ? 2 : 1;
  }
  return std::nullopt;
}

void DetectLinks(TextDocument& document) {
  if (CodePageHasLeadBytes()) {
    for (TextLine& line : document.lines) DetectLinksStepping(line);
  } else {
    DetectLinksByColon(document);
  }
}

}  // namespace mosaikon
