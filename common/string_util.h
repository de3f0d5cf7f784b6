// Small byte-string helpers shared by every subsystem. Text is handled as
// bytes in the system's ANSI code page; "white space" here is only the ASCII
// controls 0x09-0x0D and the blank, never a byte of 0x80 or above.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace mosaikon {

// True for tab, LF, VT, FF, CR and blank.
constexpr bool IsWhiteSpace(unsigned char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

void TrimLeft(std::string& text);
void TrimRight(std::string& text);
void Trim(std::string& text);

// Splits `source` at every occurrence of `delimiter` (searched left to right,
// each search starting after the previous occurrence). Pieces are trimmed when
// `trim` is set, and empty pieces are kept only with `keepEmpty`. `pieces` is
// emptied first. Returns the number of delimiter occurrences, not of pieces.
int SplitString(std::string_view source, std::string_view delimiter, bool keepEmpty, bool trim,
                std::vector<std::string>& pieces);

// `format` with every "%1" replaced by the first of `values`, "%2" by the
// second and so on, in one pass: a value that holds "%2" itself is taken as
// it stands. Any other "%" stays.
std::string FillInserts(std::string_view format, std::initializer_list<std::string_view> values);
std::u16string FillInserts(std::u16string_view format, std::initializer_list<std::u16string_view> values);

}  // namespace mosaikon
