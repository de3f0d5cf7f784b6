// The file type list's rules: splitting, rebuilding, and the typed extension.
#include "settings/file_types.h"

#include <algorithm>

#include "common/string_util.h"
#include "common/system.h"

namespace mosaikon {

std::vector<std::string> SplitFileTypes(std::string_view fileTypes) {
  std::vector<std::string> extensions;
  SplitString(fileTypes, ";", false, true, extensions);
  return extensions;
}

std::string JoinFileTypes(const std::vector<std::string>& extensions) {
  std::string text;
  for (const std::string& extension : extensions) text.append(extension).append(1, ';');
  return text;
}

std::optional<std::string> ExtensionFromInput(std::string_view typed) {
  // A field buffer of 32 bytes would cut a double-byte character in half and
  // keep its lead byte alone, which then pairs with whatever follows it.
  std::size_t length = 0;
  while (length < typed.size()) {
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(typed[length])) ? 2 : 1;
    if (length + width > kMaxTypedExtension) break;
    length += width;
  }
  std::string extension(typed.substr(0, std::min(length, typed.size())));
  Trim(extension);
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  if (extension.empty()) return std::nullopt;
  return extension;
}

}  // namespace mosaikon
