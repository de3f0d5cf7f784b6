// The status bar's note after a load by the classic rules when the file holds
// something Modern Rendering shows differently (its colours, its UTF-8 text,
// its metadata or terminal strings): which string says so.
#pragma once

#include <cstdint>

namespace mosaikon {

// The string naming the first of `features` (ModernFeature bits) in the order
// of kModernFeatureOrder, or 0 when there is none to name.
std::uint32_t ModernHintStringId(std::uint32_t features);

}  // namespace mosaikon
