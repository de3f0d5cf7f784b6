// Reading the General page's number fields.
#include "settings/number_field.h"

#include <algorithm>

#include "common/string_util.h"

namespace mosaikon {

std::int32_t ReadNumberField(std::string_view text, const NumberField& field) {
  std::size_t at = 0;
  while (at < text.size() && IsWhiteSpace(static_cast<unsigned char>(text[at]))) ++at;
  const std::size_t firstDigit = at;
  std::int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = std::min<std::int64_t>(value * 10 + (text[at] - '0'), field.maximum + std::int64_t{1});
  }
  const bool digitsFound = at > firstDigit;
  while (at < text.size() && IsWhiteSpace(static_cast<unsigned char>(text[at]))) ++at;
  if (!digitsFound || at != text.size() || value == 0) return field.fallback;
  return static_cast<std::int32_t>(std::min<std::int64_t>(value, field.maximum));
}

std::int32_t ShownNumber(std::int32_t stored, const NumberField& field) {
  return std::min(stored, field.maximum);
}

}  // namespace mosaikon
