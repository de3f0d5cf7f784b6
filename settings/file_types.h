// The rules of the file type list as the Shell Integration page edits it:
// the extensions of a FileTypes text, the text rebuilt from a list, and an
// extension as the Add File Type dialog takes it from what was typed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mosaikon {

// What the Add File Type dialog takes from its field, in bytes.
constexpr std::size_t kMaxTypedExtension = 31;

// The extensions of a FileTypes text: split at ";", each trimmed, empty ones
// dropped; order and letter case as they stand.
std::vector<std::string> SplitFileTypes(std::string_view fileTypes);

// The FileTypes text of a list: every extension followed by ";", the last
// one too; empty for an empty list.
std::string JoinFileTypes(const std::vector<std::string>& extensions);

// The extension in a typed text: its first kMaxTypedExtension bytes (a
// double-byte character that does not fit whole is left out), trimmed, with
// one leading "." removed. None when nothing is left.
std::optional<std::string> ExtensionFromInput(std::string_view typed);

}  // namespace mosaikon
