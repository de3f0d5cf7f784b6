// What a file holds that Modern Rendering shows differently from the classic
// rules. A document built by the classic rules records what the modern ones
// would change (the program offers the mode for it); one built by the modern
// rules records what they made of the file.
#pragma once

#include <cstdint>

namespace mosaikon {

enum ModernFeature : std::uint32_t {
  kTrueColours = 1u << 0,      // 38;2 / 48;2 and the art editors' "t" form
  kTable256Colours = 1u << 1,  // 38;5 / 48;5
  kBrightColours = 1u << 2,    // 90-97 and 100-107
  kIceColours = 1u << 3,       // a SAUCE record whose flag makes blink a bright background
  kUtf8Text = 1u << 4,         // UTF-8 characters, or the UTF-8 byte-order mark
  kSauceComments = 1u << 5,    // a SAUCE comment block
  kOscStrings = 1u << 6,       // ESC "]" strings
};

// Every feature, in the order in which the program names the first one a file
// holds: the most visible change first.
constexpr ModernFeature kModernFeatureOrder[] = {kTrueColours, kTable256Colours, kBrightColours, kIceColours,
                                                 kUtf8Text,    kSauceComments,   kOscStrings};

}  // namespace mosaikon
