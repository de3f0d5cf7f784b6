// Which note the status bar shows for what a file holds: the most visible
// change first, none for a file that looks the same either way.
#include "shell/modern_hint.h"

#include <gtest/gtest.h>

#include "document/modern_features.h"
#include "resources/resource_ids.h"

namespace mosaikon {
namespace {

TEST(ModernHint, NamesTheMostVisibleChange) {
  EXPECT_EQ(ModernHintStringId(0), 0u);
  EXPECT_EQ(ModernHintStringId(kOscStrings | kTrueColours | kUtf8Text),
            static_cast<std::uint32_t>(IDS_MODERN_HINT_TRUE_COLOURS));
  EXPECT_EQ(ModernHintStringId(kUtf8Text | kSauceComments), static_cast<std::uint32_t>(IDS_MODERN_HINT_UTF8));
  EXPECT_EQ(ModernHintStringId(kOscStrings), static_cast<std::uint32_t>(IDS_MODERN_HINT_OSC_STRINGS));
  // Every feature has its own note.
  std::uint32_t previous = 0;
  for (const ModernFeature feature : kModernFeatureOrder) {
    EXPECT_GT(ModernHintStringId(feature), previous);
    previous = ModernHintStringId(feature);
  }
}

}  // namespace
}  // namespace mosaikon
