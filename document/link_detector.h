// Marks "http://" links in the lines of a plain document.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "document/text_document.h"

namespace mosaikon {

// Position of the first occurrence of `pattern` in `text`, ignoring letter
// case, stepping over double-byte characters of the ANSI code page.
std::optional<std::size_t> FindNoCase(std::string_view text, std::string_view pattern);

// Fills the link masks of every line of a plain document, whose lines are
// those SplitLines made of its text (in text order).
void DetectLinks(TextDocument& document);

}  // namespace mosaikon
