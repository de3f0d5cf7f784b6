// The file type list's rules: splitting, rebuilding, the typed extension and
// the types that are never registered.
#include "settings/file_types.h"

#include <algorithm>

#include "common/string_util.h"
#include "common/system.h"
#include "settings/file_association.h"

namespace mosaikon {

namespace {

// Types that run code, install something or stand for another file: the
// system opens them through their own classes.
constexpr std::string_view kExecutableTypes =
    "application appref-ms appx appxbundle bat cmd com cpl diagcab exe gadget hta inf ins isp jar js jse "
    "library-ms lnk msc msh msi msix msixbundle msp mst msu pif ps1 ps1xml psc1 reg scf scr sct "
    "settingcontent-ms shb shs url vb vbe vbs website ws wsc wsf wsh xbap";

// A character that cannot stand in an extension: the list separator, what
// file names cannot hold, and control codes. Trail bytes of double-byte
// characters are passed over: 0x5C there is no backslash.
bool HoldsForbiddenCharacter(std::string_view extension) {
  for (std::size_t i = 0; i < extension.size(); ++i) {
    const auto c = static_cast<unsigned char>(extension[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F || std::string_view(";\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      return true;
  }
  return false;
}

}  // namespace

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
  if (extension.empty() || HoldsForbiddenCharacter(extension)) return std::nullopt;
  return extension;
}

bool IsExecutableType(std::string_view extension) {
  for (std::size_t start = 0; start < kExecutableTypes.size();) {
    const std::size_t end = std::min(kExecutableTypes.find(' ', start), kExecutableTypes.size());
    if (MayNameSameKey(kExecutableTypes.substr(start, end - start), extension)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace mosaikon
