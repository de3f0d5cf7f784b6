// What registering the file types does to the registry, as a list of steps:
// the document class and the application key that open a file with the
// program, one key per extension pointing at the class, the user's own
// choice of program for those extensions removed, dropped extensions taken
// back, and the shell told last. The steps are carried out on a small
// registry interface, so the plan and what it does to keys that other
// programs share are tested without a registry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mosaikon {

constexpr const char* kDocumentClass = "Mosaikon.Document";
constexpr const char* kApplicationCommandKey = "Applications\\Mosaikon.exe\\shell\\open\\command";
constexpr const char* kUserFileExtsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
// Where the per-user classes live; the uninstaller looks there too.
constexpr const char* kUserClassesKey = "Software\\Classes\\";
// The value under an extension's key that keeps the default it had before
// the program pointed it at its class.
constexpr const char* kBackupValue = "Mosaikon.Backup";

// The longest name one registry key may have; an extension whose key would
// be longer is not registered (a cut name would be another extension's key).
constexpr std::size_t kMaxKeyName = 255;

enum class RegistryRoot { kClassesRoot, kCurrentUser };

struct RegistryStep {
  enum class Action {
    kCreateKey,           // the key is made when missing; nothing is written into it
    kSetDefault,          // the key's unnamed value becomes `text` (REG_SZ), keys made as needed
    kClaimExtension,      // the key's default names the class, a default of another class kept (ClaimExtension)
    kReleaseExtension,    // the extension is taken back (ReleaseExtension)
    kDeleteValue,         // the value named `text` is deleted, the key stays
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

// The registry as the registration uses it: the system's registry in the
// program, one held in memory in the tests. Key paths are relative to the
// root; value name "" is the key's default value.
class Registry {
 public:
  virtual ~Registry() = default;
  // The value's text; none when the key or the value is missing or holds no
  // text.
  virtual std::optional<std::string> GetText(RegistryRoot root, const std::string& key,
                                             const std::string& name) const = 0;
  // Sets the value to `text` as REG_SZ, making the key as needed.
  virtual bool SetText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) = 0;
  virtual bool CreateKey(RegistryRoot root, const std::string& key) = 0;
  // Missing values and keys are no failure.
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key only when it holds no value and no subkey.
  virtual bool DeleteKeyIfEmpty(RegistryRoot root, const std::string& key) = 0;
  virtual void NotifyAssociations() = 0;
};

// The steps for registering `newList` (a FileTypes text) for the program at
// `modulePath`, and taking back the extensions of `oldList` that the new
// list no longer holds. Without an old list nothing is taken back.
std::vector<RegistryStep> PlanFileTypeRegistration(std::string_view modulePath, std::string_view newList,
                                                   std::optional<std::string_view> oldList);

// Carries out the steps in order. A refused write is passed over, but
// extensions are not claimed when the class's open command was refused.
void CarryOut(const std::vector<RegistryStep>& steps, Registry& registry);

// Points the extension's key at the document class. A default naming another
// class is kept first in kBackupValue (and stays when it cannot be kept); one
// naming the class already is left, so registering again never overwrites a
// kept default with the class.
void ClaimExtension(Registry& registry, RegistryRoot root, const std::string& key);

// Takes an extension's key back: a default that still names the document
// class becomes the kept default again, or goes when none was kept; a
// default of another class stays. The kept value goes either way, and the
// key itself only when nothing else is left in it: values and subkeys of
// other programs are never touched.
void ReleaseExtension(Registry& registry, RegistryRoot root, const std::string& key);

// True when the two extensions could name the same registry key, whose names
// ignore letter case: equal but for ASCII case, with any two bytes of 0x80 and
// above taken as possibly the same letter in another case.
bool MayNameSameKey(std::string_view a, std::string_view b);

}  // namespace mosaikon
