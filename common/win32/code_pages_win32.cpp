// The Chinese code pages through WideCharToMultiByte and MultiByteToWideChar.
#include <windows.h>

#include <algorithm>
#include <limits>

#include "common/code_pages.h"

namespace mosaikon {

namespace {

// The calls count in int: longer input goes in pieces that end between
// characters (a piece of units never ends inside a pair here: the caller
// passes no surrogates; a piece of bytes ends before a lead byte).
constexpr std::size_t kPiece = 1u << 24;

}  // namespace

std::string WideToCodePage(std::uint32_t codePage, std::u16string_view units) {
  std::string bytes;
  const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
  std::size_t count = units.size();
  while (count > 0) {
    const int piece = static_cast<int>(std::min(count, kPiece));
    // Each character becomes at most two bytes.
    const std::size_t at = bytes.size();
    bytes.resize(at + 2 * static_cast<std::size_t>(piece));
    const int written =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, piece, bytes.data() + at, 2 * piece, "?", nullptr);
    bytes.resize(at + static_cast<std::size_t>(std::max(written, 0)));
    wide += piece;
    count -= static_cast<std::size_t>(piece);
  }
  return bytes;
}

std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes) {
  std::u16string wide;
  while (!bytes.empty()) {
    std::size_t piece = std::min(bytes.size(), kPiece);
    if (piece < bytes.size()) {
      // Back off to the start of the character the piece would cut.
      std::size_t start = 0;
      while (start < piece) start += IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[start])) ? 2 : 1;
      if (start > piece) piece = start - 2;
    }
    const std::size_t at = wide.size();
    wide.resize(at + piece);
    const int written = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(piece),
                                            reinterpret_cast<wchar_t*>(wide.data() + at), static_cast<int>(piece));
    wide.resize(at + static_cast<std::size_t>(std::max(written, 0)));
    bytes.remove_prefix(piece);
  }
  return wide;
}

}  // namespace mosaikon
