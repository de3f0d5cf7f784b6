// Plain text as the benchmarks read it: lines of about 80 columns of words
// with CR LF breaks; every fourth line holds a tab, every tenth an "http://"
// address, and there is no ESC "[" anywhere.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace mosaikon {

inline std::string MakePlainText(std::size_t size) {
  std::mt19937 random(7);
  const auto below = [&random](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
  std::string out;
  out.reserve(size + 256);
  for (std::uint32_t line = 0; out.size() < size; ++line) {
    const std::size_t lineStart = out.size();
    if (line % 4 == 0) out += "\tindented:";
    if (line % 10 == 3) out += "see http://example.org/path/" + std::to_string(line) + " ";
    while (out.size() - lineStart < 72) {
      const std::uint32_t letters = 2 + below(8);
      for (std::uint32_t i = 0; i < letters; ++i) out += static_cast<char>('a' + below(26));
      out += ' ';
    }
    out += "end\r\n";
  }
  return out;
}

}  // namespace mosaikon
