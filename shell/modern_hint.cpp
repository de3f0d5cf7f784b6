// The hint strings of the ModernFeature bits.
#include "shell/modern_hint.h"

#include "document/modern_features.h"
#include "resources/resource_ids.h"

namespace mosaikon {

std::uint32_t ModernHintStringId(std::uint32_t features) {
  for (const ModernFeature feature : kModernFeatureOrder) {
    if ((features & feature) == 0) continue;
    switch (feature) {
      case kTrueColours:
        return IDS_MODERN_HINT_TRUE_COLOURS;
      case kTable256Colours:
        return IDS_MODERN_HINT_256_COLOURS;
      case kBrightColours:
        return IDS_MODERN_HINT_BRIGHT_COLOURS;
      case kIceColours:
        return IDS_MODERN_HINT_ICE_COLOURS;
      case kUtf8Text:
        return IDS_MODERN_HINT_UTF8;
      case kSauceComments:
        return IDS_MODERN_HINT_SAUCE_COMMENTS;
      case kOscStrings:
        return IDS_MODERN_HINT_OSC_STRINGS;
    }
  }
  return 0;
}

}  // namespace mosaikon
