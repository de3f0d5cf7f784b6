// Cutting text into lines at CR/LF breaks, and tab expansion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/text_document.h"

namespace mosaikon {

// The widest tab the layout honours. TabSize is kept and stored as the user
// wrote it, but a tab wider than this is measured, drawn and copied at this
// width: 1000 columns are wider than any screen shows even at the smallest
// cell, while a hand-edited TabSize (up to 2147483647) can no longer turn a
// few bytes into billions of columns of blanks.
constexpr std::int32_t kMaxTabSize = 1000;

// The tab size the layout uses for a TabSize value: 8 below 1, at most
// kMaxTabSize.
constexpr std::int32_t EffectiveTabSize(std::int32_t tabSize) {
  return tabSize < 1 ? 8 : (tabSize > kMaxTabSize ? kMaxTabSize : tabSize);
}

// Appends one record per line of `text` (`length` bytes, no NUL) to `lines`,
// and raises `width` to the widest tab-expanded line. Never lowers `width`.
void SplitLines(const char* text, std::int32_t length, std::int32_t tabSize, std::vector<TextLine>& lines,
                std::int32_t& width);

// How many CR and LF bytes a text holds: SplitLines reserves the line array
// from them. A caller that has counted them already can hand them over.
struct BreakCounts {
  std::size_t cr = 0;
  std::size_t lf = 0;
};
BreakCounts CountBreaks(const char* text, std::size_t length);
void SplitLines(const char* text, std::int32_t length, std::int32_t tabSize, std::vector<TextLine>& lines,
                std::int32_t& width, const BreakCounts& counts);

// Display width of `count` bytes with tabs expanded to the next multiple of
// EffectiveTabSize(`tabSize`). When `expanded` is given it receives the text with
// each tab replaced by blanks.
std::int32_t ExpandTabs(const char* bytes, std::int32_t count, std::string* expanded, std::int32_t tabSize);

}  // namespace mosaikon
