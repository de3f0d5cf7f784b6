// The registry plan of the file type registration.
#include "settings/file_association.h"

#include <algorithm>

#include "settings/file_types.h"

namespace mosaikon {

namespace {

constexpr const char* kClassDescription = "ASCII Art File";

unsigned char FoldAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// An extension names exactly one key below the root: a backslash would reach
// into a subkey (of another extension's key, even), and a name too long for a
// key cannot be written without cutting it into another one.
bool NamesOneKey(const std::string& extension) {
  return extension.find('\\') == std::string::npos && extension.size() + 1 <= kMaxKeyName;
}

}  // namespace

bool MayNameSameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 && y >= 0x80) continue;
    if (FoldAscii(x) != FoldAscii(y)) return false;
  }
  return true;
}

std::vector<RegistryStep> PlanFileTypeRegistration(std::string_view modulePath, std::string_view newList,
                                                   std::optional<std::string_view> oldList) {
  using Action = RegistryStep::Action;
  const std::string exe(modulePath);
  const std::string command = exe + " \"%1\"";
  const std::string classKey = kDocumentClass;

  std::vector<RegistryStep> steps = {
      {Action::kSetDefault, RegistryRoot::kClassesRoot, classKey, kClassDescription},
      {Action::kSetDefault, RegistryRoot::kClassesRoot, classKey + "\\DefaultIcon", exe + ",0"},
      {Action::kSetDefault, RegistryRoot::kClassesRoot, classKey + "\\shell\\open\\command", command, true},
      {Action::kSetDefault, RegistryRoot::kClassesRoot, kApplicationCommandKey, command},
  };

  const std::vector<std::string> added = SplitFileTypes(newList);
  for (const std::string& extension : added) {
    if (!NamesOneKey(extension)) continue;
    steps.push_back({Action::kSetDefault, RegistryRoot::kClassesRoot, "." + extension, classKey, false, true});
    steps.push_back(
        {Action::kDeleteValue, RegistryRoot::kCurrentUser, kUserFileExtsKey + ("." + extension), "Application"});
  }

  if (oldList) {
    for (const std::string& extension : SplitFileTypes(*oldList)) {
      const bool kept = std::any_of(added.begin(), added.end(),
                                    [&](const std::string& other) { return MayNameSameKey(extension, other); });
      if (!kept && NamesOneKey(extension))
        steps.push_back({Action::kDeleteTree, RegistryRoot::kClassesRoot, "." + extension});
    }
  }

  steps.push_back({Action::kNotifyAssociations});
  return steps;
}

}  // namespace mosaikon
