// Cutting text into lines at CR/LF breaks, and tab expansion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/text_document.h"

namespace mosaikon {

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
// `tabSize` (at least 1). When `expanded` is given it receives the text with
// each tab replaced by blanks.
std::int32_t ExpandTabs(const char* bytes, std::int32_t count, std::string* expanded, std::int32_t tabSize);

}  // namespace mosaikon
