// The rules of the file type list as the Shell Integration page edits it:
// the extensions of a FileTypes text, the text rebuilt from a list, an
// extension as the Add File Type dialog takes it from what was typed, and
// the types the program must never be registered for.
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
// one leading "." removed. None when nothing is left, or when what is left
// holds a ";" (two list entries), a character no file name can hold (a
// backslash would even name a subkey in the registry) or a control code.
std::optional<std::string> ExtensionFromInput(std::string_view typed);

// True for the types of programs, scripts, installers and shortcuts (exe,
// bat, lnk, msi, reg and the like), letter case aside: pointed at a viewer,
// the system could no longer run them.
bool IsExecutableType(std::string_view extension);

}  // namespace mosaikon
