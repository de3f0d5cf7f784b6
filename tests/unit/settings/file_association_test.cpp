// The registry plan of the file type registration, step by step, for the
// lists a user or a hand-edited INI file can give; and what carrying it out
// does to extension keys that other programs share, on a registry held in
// memory.
#include "settings/file_association.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>

namespace mosaikon {
namespace {

// The plan as one line: its steps after " | ". A folder with a blank shows
// how the command carries the path.
std::string Plan(const std::string& newList, std::optional<std::string> oldList) {
  std::string plan;
  for (const RegistryStep& step : PlanFileTypeRegistration("C:\\Art Tools\\v.exe", newList, oldList)) {
    const std::string key = (step.root == RegistryRoot::kClassesRoot ? "HKCR\\" : "HKCU\\") + step.key;
    using enum RegistryStep::Action;
    if (step.action == kCreateKey) plan += " | make " + key;
    if (step.action == kSetDefault) plan += " | " + key + " = " + step.text;
    if (step.action == kClaimExtension) plan += " | claim " + key;
    if (step.action == kReleaseExtension) plan += " | release " + key;
    if (step.action == kDeleteValue) plan += " | delete " + step.text + " of " + key;
    if (step.action == kNotifyAssociations) plan += " | notify";
    plan += std::string(step.isCommand ? " [command]" : "") + (step.needsCommand ? " [if command]" : "");
  }
  return plan;
}

std::string Registered(const std::string& e) {
  return " | make HKCU\\Software\\Classes\\." + e + " [if command] | claim HKCR\\." + e +
         " [if command] | delete Application of HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
         "FileExts\\." +
         e;
}

std::string Released(const std::string& e) {
  return " | release HKCR\\." + e + " | release HKCU\\Software\\Classes\\." + e;
}

TEST(FileAssociation, ClassFirstThenExtensionsThenDroppedOnesTakenBackAndTheShellToldLast) {
  // Each class key is made among the user's classes before it is written.
  const std::string classKeys =
      " | make HKCU\\Software\\Classes\\Mosaikon.Document"
      " | HKCR\\Mosaikon.Document = ASCII Art File"
      " | make HKCU\\Software\\Classes\\Mosaikon.Document\\DefaultIcon"
      " | HKCR\\Mosaikon.Document\\DefaultIcon = C:\\Art Tools\\v.exe,0"
      " | make HKCU\\Software\\Classes\\Mosaikon.Document\\shell\\open\\command"
      " | HKCR\\Mosaikon.Document\\shell\\open\\command = \"C:\\Art Tools\\v.exe\" \"%1\" [command]"
      " | make HKCU\\Software\\Classes\\Applications\\Mosaikon.exe\\shell\\open\\command"
      " | HKCR\\Applications\\Mosaikon.exe\\shell\\open\\command = \"C:\\Art Tools\\v.exe\" \"%1\"";
  const std::string longest(254, 'a'), tooLong(255, 'b');
  struct Case {
    std::string newList;
    std::optional<std::string> oldList;
    std::string afterClass;
  };
  const Case cases[] = {
      {"", std::nullopt, " | notify"},
      {"", "asc;nfo;", Released("asc") + Released("nfo") + " | notify"},
      {"txt;", "asc;txt;", Registered("txt") + Released("asc") + " | notify"},
      // Trimmed, empty pieces dropped, a duplicate written twice, order kept.
      {" nfo ; ;asc;nfo", std::nullopt, Registered("nfo") + Registered("asc") + Registered("nfo") + " | notify"},
      // Key names ignore case: the old key is the one just written.
      {"TXT;", "txt;Asc;", Registered("TXT") + Released("Asc") + " | notify"},
      {"\xE4nsi;", "\xC4nsi;", Registered("\xE4nsi") + " | notify"},
      {"nf;", "nfo;", Registered("nf") + Released("nfo") + " | notify"},
      // A name too long for a key, or one reaching into a subkey, is never
      // written or taken back: cut or split, it would name another key.
      {longest + ";" + tooLong + ";", "c;" + tooLong, Registered(longest) + Released("c") + " | notify"},
      {"txt\\shell;", "asc\\shell;", " | notify"},
      // A program's type in a hand-edited list is never claimed; taking it
      // back touches only what the program wrote.
      {"EXE;nfo;lnk;", "exe;", Registered("nfo") + " | notify"},
      {"nfo;", "Lnk;", Registered("nfo") + Released("Lnk") + " | notify"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("new \"" + c.newList.substr(0, 20) + "\", old " + c.oldList.value_or("none").substr(0, 20));
    EXPECT_EQ(Plan(c.newList, c.oldList), classKeys + c.afterClass);
  }
}

// A registry in memory: key paths and value names ignore ASCII case, a key
// holds values and has subkeys when a longer path starts with its own.
class MemoryRegistry final : public Registry {
 public:
  std::optional<std::string> GetText(RegistryRoot root, const std::string& key,
                                     const std::string& name) const override {
    const auto found = keys_.find(Path(root, key));
    if (found == keys_.end()) return std::nullopt;
    const auto value = found->second.find(Fold(name));
    return value == found->second.end() ? std::nullopt : std::optional(value->second);
  }
  bool SetText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override {
    if (refused.count(key + "|" + name)) return false;
    CreateKey(root, key);
    keys_[Path(root, key)][Fold(name)] = text;
    return true;
  }
  bool CreateKey(RegistryRoot root, const std::string& key) override {
    for (std::size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1))
      keys_[Path(root, key.substr(0, end))];
    keys_[Path(root, key)];
    return true;
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    const auto found = keys_.find(Path(root, key));
    if (found != keys_.end()) found->second.erase(Fold(name));
    return true;
  }
  bool DeleteKeyIfEmpty(RegistryRoot root, const std::string& key) override {
    const std::string path = Path(root, key);
    const auto found = keys_.find(path);
    if (found == keys_.end()) return true;
    const auto next = std::next(found);
    if (!found->second.empty() || (next != keys_.end() && next->first.starts_with(path + "\\"))) return false;
    keys_.erase(found);
    return true;
  }
  void NotifyAssociations() override { ++notified; }

  bool Exists(RegistryRoot root, const std::string& key) const { return keys_.count(Path(root, key)) != 0; }
  // A key's values as "name=text" in name order ("@" for the default), or
  // "<no key>".
  std::string Values(RegistryRoot root, const std::string& key) const {
    const auto found = keys_.find(Path(root, key));
    if (found == keys_.end()) return "<no key>";
    std::string text;
    for (const auto& [name, value] : found->second) text += (name.empty() ? "@" : name) + "=" + value + ";";
    return text;
  }

  std::set<std::string> refused;  // "key|value name" pairs whose writes fail
  int notified = 0;

 private:
  static std::string Fold(std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
  }
  static std::string Path(RegistryRoot root, const std::string& key) {
    return (root == RegistryRoot::kClassesRoot ? "hkcr\\" : "hkcu\\") + Fold(key);
  }

  std::map<std::string, std::map<std::string, std::string>> keys_;
};

constexpr auto kHkcr = RegistryRoot::kClassesRoot, kHkcu = RegistryRoot::kCurrentUser;
constexpr char kExe[] = "C:\\Art Tools\\v.exe";

// An extension key as another program leaves it: its class, values that
// describe the type, and subkeys.
void WriteForeignTxt(MemoryRegistry& registry) {
  registry.SetText(kHkcr, ".txt", "", "txtfile");
  registry.SetText(kHkcr, ".txt", "Content Type", "text/plain");
  registry.SetText(kHkcr, ".txt", "PerceivedType", "text");
  registry.SetText(kHkcr, ".txt\\ShellNew", "NullFile", "");
  registry.CreateKey(kHkcr, ".txt\\OpenWithProgids");
}
constexpr char kForeignValues[] = "@=txtfile;content type=text/plain;perceivedtype=text;";
constexpr char kClaimedValues[] =
    "@=Mosaikon.Document;content type=text/plain;mosaikon.backup=txtfile;"
    "perceivedtype=text;";

TEST(FileAssociation, ClaimingKeepsThePreviousDefaultAndTakingBackRestoresItTouchingNothingElse) {
  MemoryRegistry registry;
  WriteForeignTxt(registry);
  registry.SetText(kHkcr, ".nfo", "", "Mosaikon.Document");  // registered by an older version
  CarryOut(PlanFileTypeRegistration(kExe, "txt;asc;nfo;", std::nullopt), registry);
  EXPECT_EQ(registry.Values(kHkcr, ".txt"), kClaimedValues);
  EXPECT_EQ(registry.Values(kHkcr, ".asc"), "@=Mosaikon.Document;");
  EXPECT_EQ(registry.Values(kHkcr, ".nfo"), "@=Mosaikon.Document;");
  // Made empty among the user's classes; the writes go where the system puts them.
  EXPECT_EQ(registry.Values(kHkcu, "Software\\Classes\\.txt"), "");
  EXPECT_EQ(registry.Values(kHkcu, "Software\\Classes\\Mosaikon.Document\\shell\\open\\command"), "");
  EXPECT_EQ(registry.Values(kHkcr, "Applications\\Mosaikon.exe\\shell\\open\\command"),
            "@=\"C:\\Art Tools\\v.exe\" \"%1\";");

  // Registering again never replaces the kept default with the class.
  CarryOut(PlanFileTypeRegistration(kExe, "txt;asc;nfo;", "txt;asc;nfo;"), registry);
  EXPECT_EQ(registry.Values(kHkcr, ".txt"), kClaimedValues);

  // Taken back: the old default returns, a key the program made alone goes,
  // the user's empty keys go; ShellNew and OpenWithProgids stay.
  CarryOut(PlanFileTypeRegistration(kExe, "", "txt;asc;nfo;"), registry);
  EXPECT_EQ(registry.Values(kHkcr, ".txt"), kForeignValues);
  EXPECT_EQ(registry.Values(kHkcr, ".txt\\ShellNew"), "nullfile=;");
  EXPECT_TRUE(registry.Exists(kHkcr, ".txt\\OpenWithProgids"));
  for (const char* key : {".asc", ".nfo"}) EXPECT_FALSE(registry.Exists(kHkcr, key)) << key;
  for (const char* key : {"Software\\Classes\\.txt", "Software\\Classes\\.asc"})
    EXPECT_FALSE(registry.Exists(kHkcu, key)) << key;
  EXPECT_TRUE(registry.Exists(kHkcu, "Software\\Classes\\Mosaikon.Document"));
  EXPECT_EQ(registry.notified, 3);
}

TEST(FileAssociation, TakingBackLeavesAnExtensionThatAnotherProgramTookOver) {
  MemoryRegistry registry;
  WriteForeignTxt(registry);
  ClaimExtension(registry, kHkcr, ".txt");
  registry.SetText(kHkcr, ".txt", "", "Other.Document");
  ReleaseExtension(registry, kHkcr, ".txt");
  EXPECT_EQ(registry.Values(kHkcr, ".txt"), "@=Other.Document;content type=text/plain;perceivedtype=text;");

  // The class named in another letter case is still the program's own; an
  // empty default is nothing to keep.
  registry.SetText(kHkcr, ".ans", "", "");
  ClaimExtension(registry, kHkcr, ".ans");
  EXPECT_EQ(registry.Values(kHkcr, ".ans"), "@=Mosaikon.Document;");
  registry.SetText(kHkcr, ".ans", "", "MOSAIKON.document");
  ReleaseExtension(registry, kHkcr, ".ans");
  EXPECT_FALSE(registry.Exists(kHkcr, ".ans"));
  ReleaseExtension(registry, kHkcr, ".missing");
  EXPECT_FALSE(registry.Exists(kHkcr, ".missing"));
}

TEST(FileAssociation, NothingIsClaimedWithoutTheCommandAndNoDefaultIsLostWithoutItsCopy) {
  MemoryRegistry registry;
  registry.refused.insert("Mosaikon.Document\\shell\\open\\command|");
  CarryOut(PlanFileTypeRegistration(kExe, "asc;", std::nullopt), registry);
  EXPECT_FALSE(registry.Exists(kHkcr, ".asc"));
  EXPECT_FALSE(registry.Exists(kHkcu, "Software\\Classes\\.asc"));
  EXPECT_EQ(registry.notified, 1);

  registry.refused = {".txt|Mosaikon.Backup"};
  WriteForeignTxt(registry);
  CarryOut(PlanFileTypeRegistration(kExe, "txt;", std::nullopt), registry);
  EXPECT_EQ(registry.Values(kHkcr, ".txt"), kForeignValues);
}

}  // namespace
}  // namespace mosaikon
