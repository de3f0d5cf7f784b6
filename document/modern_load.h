// The part of a load that Modern Rendering changes, kept apart from the
// classic path: the SAUCE record and its comments taken off before layout,
// UTF-8 text decoded to the view's code page, and ANSI art (also a file with
// ESC "]" strings alone) read by the modern interpreter. And, for a load by
// the classic rules, what the modern ones would show differently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/sauce.h"
#include "document/text_document.h"

namespace mosaikon {

// Builds `fresh` (whose `sauce` is already read from `bytes`) by the modern
// rules. `bytes` holds no UTF-16 text: that loads by the classic rules.
void BuildModernDocument(std::string bytes, const LoadOptions& options, TextDocument& fresh);

// What a classic load notes before its cleaning pass blanks NUL and 0xFF:
// where the text ends before the metadata, and how many 0xFF bytes lie in
// the metadata, which the UTF-8 test does not look at.
struct ClassicHintScan {
  std::size_t textEnd = 0;
  std::size_t metadataFFs = 0;
  bool utf8Mark = false;
};
ClassicHintScan ScanForHints(std::string_view bytes, const std::optional<SauceRecord>& sauce);

// The ModernFeature bits of a file loaded by the classic rules, from the
// cleaned text, its scan and its record; the colour sequences are noted by the
// interpreter itself.
std::uint32_t ClassicHints(std::string_view cleaned, const ClassicHintScan& before, const TextScan& scan,
                           const std::optional<SauceRecord>& sauce, bool supportAnsi);

}  // namespace mosaikon
