// Registers the program with the shell for the extensions of a FileTypes
// list and takes back the ones an older list held that the new one drops.
#pragma once

#include <optional>
#include <string_view>

namespace mosaikon {

// Carries out the registry plan of settings/file_association.h for the
// running executable. Refused registry writes are ignored, but an extension
// is never pointed at the document class when its open command could not be
// written. Without an old list nothing is taken back.
void RegisterFileTypes(std::string_view newList, std::optional<std::string_view> oldList);

}  // namespace mosaikon
