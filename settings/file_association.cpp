// The registry plan of the file type registration, and how its steps treat
// the keys of extensions, which other programs write into as well.
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

// Class names are key names, which ignore letter case.
bool NamesTheClass(const std::optional<std::string>& value) {
  return value && MayNameSameKey(*value, kDocumentClass);
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
  // Quoted: unquoted, a path with a blank would let the system start a
  // program named after the part before the blank.
  const std::string command = "\"" + exe + "\" \"%1\"";
  const std::string classKey = kDocumentClass;

  // Every key written through the classes root is made under the user's own
  // classes first: the system then stores the writes there, where a user
  // without the right to write the machine's classes may write.
  std::vector<RegistryStep> steps;
  auto set = [&](const std::string& key, const std::string& text, bool isCommand = false) {
    steps.push_back({Action::kCreateKey, RegistryRoot::kCurrentUser, kUserClassesKey + key});
    steps.push_back({Action::kSetDefault, RegistryRoot::kClassesRoot, key, text, isCommand});
  };
  set(classKey, kClassDescription);
  set(classKey + "\\DefaultIcon", exe + ",0");
  set(classKey + "\\shell\\open\\command", command, true);
  set(kApplicationCommandKey, command);

  const std::vector<std::string> added = SplitFileTypes(newList);
  for (const std::string& extension : added) {
    // A hand-edited list may name a program's type, which the Add dialog
    // refuses: claimed, the system could no longer run such files.
    if (!NamesOneKey(extension) || IsExecutableType(extension)) continue;
    const std::string key = "." + extension;
    steps.push_back({Action::kCreateKey, RegistryRoot::kCurrentUser, kUserClassesKey + key, {}, false, true});
    steps.push_back({Action::kClaimExtension, RegistryRoot::kClassesRoot, key, {}, false, true});
    steps.push_back({Action::kDeleteValue, RegistryRoot::kCurrentUser, kUserFileExtsKey + key, "Application"});
  }

  if (oldList) {
    for (const std::string& extension : SplitFileTypes(*oldList)) {
      const bool kept = std::any_of(added.begin(), added.end(),
                                    [&](const std::string& other) { return MayNameSameKey(extension, other); });
      if (kept || !NamesOneKey(extension)) continue;
      const std::string key = "." + extension;
      steps.push_back({Action::kReleaseExtension, RegistryRoot::kClassesRoot, key});
      steps.push_back({Action::kReleaseExtension, RegistryRoot::kCurrentUser, kUserClassesKey + key});
    }
  }

  steps.push_back({Action::kNotifyAssociations});
  return steps;
}

void ClaimExtension(Registry& registry, RegistryRoot root, const std::string& key) {
  const std::optional<std::string> previous = registry.GetText(root, key, "");
  const bool keep = previous && !previous->empty() && !NamesTheClass(previous);
  // A default that could not be kept is not overwritten either.
  if (keep && !registry.SetText(root, key, kBackupValue, *previous)) return;
  registry.SetText(root, key, "", kDocumentClass);
}

void ReleaseExtension(Registry& registry, RegistryRoot root, const std::string& key) {
  if (NamesTheClass(registry.GetText(root, key, ""))) {
    const std::optional<std::string> backup = registry.GetText(root, key, kBackupValue);
    if (backup && !backup->empty()) {
      registry.SetText(root, key, "", *backup);
    } else {
      registry.DeleteValue(root, key, "");
    }
  }
  registry.DeleteValue(root, key, kBackupValue);
  registry.DeleteKeyIfEmpty(root, key);
}

void CarryOut(const std::vector<RegistryStep>& steps, Registry& registry) {
  using Action = RegistryStep::Action;
  bool commandWritten = false;
  for (const RegistryStep& step : steps) {
    if (step.needsCommand && !commandWritten) continue;
    switch (step.action) {
      case Action::kCreateKey:
        registry.CreateKey(step.root, step.key);
        break;
      case Action::kSetDefault: {
        const bool written = registry.SetText(step.root, step.key, "", step.text);
        if (step.isCommand) commandWritten = written;
        break;
      }
      case Action::kClaimExtension:
        ClaimExtension(registry, step.root, step.key);
        break;
      case Action::kReleaseExtension:
        ReleaseExtension(registry, step.root, step.key);
        break;
      case Action::kDeleteValue:
        registry.DeleteValue(step.root, step.key, step.text);
        break;
      case Action::kNotifyAssociations:
        registry.NotifyAssociations();
        break;
    }
  }
}

}  // namespace mosaikon
