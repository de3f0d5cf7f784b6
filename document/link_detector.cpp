// Finds "http://" links in the lines of a plain document and marks their bytes
// in the lines' link masks. A link runs from the "h" to the first white-space
// byte or byte of 0x80 and above, and never crosses a line.
#include "document/link_detector.h"

#include <cstring>
#include <functional>

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

// Single-byte code pages: every byte is a character, so a link is found from
// its ':' with memchr, checking "http" before and "//" after. One search runs
// across the lines of the text instead of one per line.
class ColonScanner {
 public:
  explicit ColonScanner(const char* end) : end_(end), from_(end) {}

  // The first ':' at or after `at` (which must not lie before the previous
  // request), or null.
  const char* NextFrom(const char* at) {
    if (at < from_ || (colon_ && colon_ < at)) {
      colon_ = static_cast<const char*>(std::memchr(at, ':', static_cast<std::size_t>(end_ - at)));
      from_ = at;
    }
    return colon_;
  }
  void Restart() {
    from_ = end_;
    colon_ = nullptr;
  }

 private:
  const char* end_;
  const char* from_;             // where the remembered search started
  const char* colon_ = nullptr;  // its result: the first ':' at or after from_, or null
};

void DetectLinksByColon(TextDocument& document) {
  const char* const textBegin = document.text.data();
  const char* const textEnd = textBegin + document.text.size();
  ColonScanner scanner(textEnd);
  const char* previousEnd = textBegin;
  const std::less<const char*> before;
  const auto patternLength = static_cast<std::int32_t>(kScheme.size());
  for (TextLine& line : document.lines) {
    if (line.length < patternLength) continue;
    const char* const lineStart = line.start;
    const char* const lineEnd = lineStart + line.length;
    // The shared search needs lines inside the text and in buffer order, as
    // the splitter makes them; anything else is searched line by line.
    if (before(lineStart, previousEnd) || before(textEnd, lineEnd)) {
      DetectLinksStepping(line);
      scanner.Restart();
      continue;
    }
    previousEnd = lineEnd;
    const char* searchFrom = lineStart;
    for (const char* colon = scanner.NextFrom(lineStart); colon && colon < lineEnd;
         colon = scanner.NextFrom(searchFrom)) {
      if (colon - searchFrom >= 4 && lineEnd - colon >= 3 && colon[1] == '/' && colon[2] == '/' &&
          IsHttpAt(colon - 4)) {
        searchFrom = lineStart + MarkLink(line, static_cast<std::int32_t>(colon - 4 - lineStart));
        if (searchFrom >= lineEnd) break;
      } else {
        searchFrom = colon + 1;
      }
    }
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
