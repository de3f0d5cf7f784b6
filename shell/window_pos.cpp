// Formatting and parsing of the saved window placement.
#include "shell/window_pos.h"

#include <cstdio>

#include "common/string_util.h"

namespace mosaikon {

namespace {

// The platform's show commands and placement flag that matter here.
constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kShowMinimized = 2;
constexpr std::uint32_t kShowMaximized = 3;
constexpr std::uint32_t kMinimize = 6;
constexpr std::uint32_t kShowMinNoActive = 7;
constexpr std::uint32_t kForceMinimize = 11;
constexpr std::uint32_t kRestoreToMaximized = 2;  // placement flag

}  // namespace

std::uint32_t RestoredShowCommand(const WindowPos& pos) {
  switch (pos.showCommand) {
    case kShowMaximized:
      return kShowMaximized;
    case kShowMinimized:
    case kMinimize:
    case kShowMinNoActive:
    case kForceMinimize:
      return (pos.flags & kRestoreToMaximized) ? kShowMaximized : kShowNormal;
    default:
      return kShowNormal;
  }
}

std::string FormatWindowPos(const WindowPos& pos) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", static_cast<unsigned>(pos.flags),
                static_cast<unsigned>(pos.showCommand), static_cast<int>(pos.minX), static_cast<int>(pos.minY),
                static_cast<int>(pos.maxX), static_cast<int>(pos.maxY), static_cast<int>(pos.left),
                static_cast<int>(pos.top), static_cast<int>(pos.right), static_cast<int>(pos.bottom));
  return buffer;
}

namespace {

// One scanf-style decimal number: optional white space, optional sign, at
// least one digit. Wraps modulo 2^32 instead of overflowing.
bool ReadNumber(std::string_view text, std::size_t& pos, std::uint32_t& value) {
  while (pos < text.size() && IsWhiteSpace(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const std::size_t digitsStart = pos;
  std::uint32_t result = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    result = result * 10u + static_cast<std::uint32_t>(text[pos] - '0');
    ++pos;
  }
  if (pos == digitsStart) return false;
  value = negative ? 0u - result : result;
  return true;
}

}  // namespace

std::optional<WindowPos> ParseWindowPos(std::string_view text) {
  std::uint32_t values[10];
  std::size_t pos = 0;
  for (int i = 0; i < 10; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ',') return std::nullopt;
      ++pos;
    }
    if (!ReadNumber(text, pos, values[i])) return std::nullopt;
  }
  WindowPos result;
  result.flags = values[0];
  result.showCommand = values[1];
  std::int32_t* coordinates[] = {&result.minX, &result.minY, &result.maxX,  &result.maxY,
                                 &result.left, &result.top,  &result.right, &result.bottom};
  for (int i = 0; i < 8; ++i) *coordinates[i] = static_cast<std::int32_t>(values[i + 2]);
  return result;
}

}  // namespace mosaikon
