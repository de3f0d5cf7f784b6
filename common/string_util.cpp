// The shared byte-string helpers: trimming ASCII white space and splitting a
// text at a delimiter into (optionally trimmed, optionally non-empty) pieces.
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

}  // namespace mosaikon
