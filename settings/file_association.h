// What registering the file types does to the registry, as a list of steps:
// the document class and the application key that open a file with the
// program, one key per extension pointing at the class, the user's own
// choice of program for those extensions removed, the keys of dropped
// extensions deleted, and the shell told last. The Windows side only carries
// the steps out, so the plan is tested without a registry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mosaikon {

constexpr const char* kDocumentClass = "Mosaikon.Document";
constexpr const char* kApplicationCommandKey = "Applications\\Mosaikon.exe\\shell\\open\\command";
constexpr const char* kUserFileExtsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

// The longest name one registry key may have; an extension whose key would
// be longer is not registered (a cut name would be another extension's key).
constexpr std::size_t kMaxKeyName = 255;

enum class RegistryRoot { kClassesRoot, kCurrentUser };

struct RegistryStep {
  enum class Action {
    kSetDefault,          // the key's unnamed value becomes `text` (REG_SZ), keys made as needed
    kDeleteValue,         // the value named `text` is deleted, the key stays
    kDeleteTree,          // the key goes with all its values and subkeys
    kNotifyAssociations,  // the shell is told that associations changed
  };
  Action action;
  RegistryRoot root = RegistryRoot::kClassesRoot;
  std::string key;
  std::string text;
  // The class's open command: the extension keys after it are written only
  // when it was, so the shell is never sent to a class that cannot open files.
  bool isCommand = false;
  bool needsCommand = false;
};

// The steps for registering `newList` (a FileTypes text) for the program at
// `modulePath`, and unregistering the extensions of `oldList` that the new
// list no longer holds. Without an old list nothing is deleted.
std::vector<RegistryStep> PlanFileTypeRegistration(std::string_view modulePath, std::string_view newList,
                                                   std::optional<std::string_view> oldList);

// True when the two extensions could name the same registry key, whose names
// ignore letter case: equal but for ASCII case, with any two bytes of 0x80 and
// above taken as possibly the same letter in another case.
bool MayNameSameKey(std::string_view a, std::string_view b);

}  // namespace mosaikon
