// The shared byte-string helpers: trimming ASCII white space, splitting a
// text at a delimiter into (optionally trimmed, optionally non-empty) pieces,
// and filling the numbered inserts of a message.
#include "common/string_util.h"

namespace mosaikon {

void TrimLeft(std::string& text) {
  std::size_t first = 0;
  while (first < text.size() && IsWhiteSpace(static_cast<unsigned char>(text[first]))) ++first;
  text.erase(0, first);
}

void TrimRight(std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && IsWhiteSpace(static_cast<unsigned char>(text[end - 1]))) --end;
  text.erase(end);
}

void Trim(std::string& text) {
  TrimRight(text);
  TrimLeft(text);
}

int SplitString(std::string_view source, std::string_view delimiter, bool keepEmpty, bool trim,
                std::vector<std::string>& pieces) {
  pieces.clear();
  auto add = [&](std::string_view piece) {
    std::string text(piece);
    if (trim) Trim(text);
    if (keepEmpty || !text.empty()) pieces.push_back(std::move(text));
  };

  // An empty delimiter would "occur" at every position without advancing, so
  // it is treated as never occurring: the whole source is the one piece.
  int occurrences = 0;
  std::size_t start = 0;
  if (!delimiter.empty()) {
    for (std::size_t hit = source.find(delimiter); hit != std::string_view::npos; hit = source.find(delimiter, start)) {
      add(source.substr(start, hit - start));
      start = hit + delimiter.size();
      ++occurrences;
    }
  }
  add(source.substr(start));
  return occurrences;
}

namespace {

template <typename Char>
std::basic_string<Char> Fill(std::basic_string_view<Char> format,
                             std::initializer_list<std::basic_string_view<Char>> values) {
  std::basic_string<Char> text;
  text.reserve(format.size());
  for (std::size_t i = 0; i < format.size(); ++i) {
    const Char next = i + 1 < format.size() ? format[i + 1] : Char();
    const auto index = static_cast<std::size_t>(next - Char('1'));
    if (format[i] == Char('%') && next >= Char('1') && index < values.size()) {
      text += values.begin()[index];
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace

std::string FillInserts(std::string_view format, std::initializer_list<std::string_view> values) {
  return Fill(format, values);
}

std::u16string FillInserts(std::u16string_view format, std::initializer_list<std::u16string_view> values) {
  return Fill(format, values);
}

}  // namespace mosaikon
