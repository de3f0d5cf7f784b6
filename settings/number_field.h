// The two number fields of the General page (Tab Size and Max Num): how the
// typed text becomes a setting. The fields take digits only and a few of
// them, so a typed number can neither wrap into a negative value nor ask
// for more than the program uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mosaikon {

struct NumberField {
  std::int32_t fallback;  // for an empty field, 0 or text that is not a number
  std::int32_t maximum;   // larger numbers are taken as this
  std::size_t digits;     // how many the user may type
};

// Tab stops further apart than this are no use on any screen.
constexpr NumberField kTabSizeField{8, 999, 3};
// The recently viewed list has command ids for 1000 entries.
constexpr NumberField kMurFileNumField{10, 1000, 4};

// The field's text read as an unsigned decimal number (leading blanks
// skipped, nothing but blanks after the digits): 0 or no number gives the
// fallback, a number above the maximum the maximum.
std::int32_t ReadNumberField(std::string_view text, const NumberField& field);

// The value a field shows for a stored setting: as it is, but never above
// the maximum, so what the field shows is what OK stores.
std::int32_t ShownNumber(std::int32_t stored, const NumberField& field);

}  // namespace mosaikon
